#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

namespace diaryimport::json {

// Where one item of a JSON list lies in the text: [begin, end).
struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
};

// The places of the items of the "entries" list of the JSON object the
// bytes hold, found without building the document, so an export is parsed an
// entry at a time. Nothing when the text is anything less plain: then the
// whole document is parsed, which also names a fault's place.
std::optional<std::vector<Span>> entrySpans(const QByteArray &bytes);

} // namespace diaryimport::json
