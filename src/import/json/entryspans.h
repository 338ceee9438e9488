#pragma once

#include <QIODevice>

#include <optional>
#include <vector>

namespace diaryimport::json {

// Where one item of a JSON list, or one member of a JSON object with its
// key, lies in the text: [begin, end).
struct Span
{
    qint64 begin = 0;
    qint64 end = 0;
};

// How an export keeps its entries: a list of them, or an object with an
// entry under each key.
enum class Shape { List, Keyed };

struct Spans
{
    std::vector<Span> items;
    // Where the scan stopped when the text was not plain enough for it.
    qint64 stoppedAt = 0;
    // The text went on past the bytes the scan was allowed.
    bool tooLarge = false;
    // The list holds more items than the scan was allowed.
    bool tooMany = false;
    bool found = false;
};

// The places of the items of the "entries" member of the JSON object the
// device holds, found a chunk at a time without building the document, so
// an export is never in memory whole. Not found when the text is anything
// less plain: then a small export is parsed whole, which names a fault's
// place.
Spans entrySpans(QIODevice &device, Shape shape, qint64 largest, std::size_t most);

} // namespace diaryimport::json
