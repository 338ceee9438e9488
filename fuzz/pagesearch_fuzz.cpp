#include "fuzzsupport.h"

#include "diary/codepage.h"
#include "diary/pagestore.h"
#include "diary/scramble.h"
#include "diary/search.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::startQt(argc, argv);
    return 0;
}

namespace {

const QString kPage = QStringLiteral("2024-03-05.dat");

bool found(const QByteArray &file, QStringView term)
{
    fuzzsupport::writeScratch(QStringLiteral("pages/") + kPage, file);
    return searchPages(fuzzsupport::scratchFolder() + QStringLiteral("/pages"), {kPage}, term) == QStringList{kPage};
}

} // namespace

// The first byte gives the term's length, the term follows, the rest is a
// page. The search over any file finds the term exactly where its stored
// bytes lie, and over a saved page finds every term taken from one line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input = fuzzsupport::bytesOf(data + 1, size - 1);
    const qsizetype termLength = qMin<qsizetype>(data[0] % 64, input.size());
    const QString term = codepage::decode(input.first(termLength));
    const QByteArray rest = input.sliced(termLength);

    const auto termBytes = codepage::encodeExact(term);
    const auto needle = termBytes ? ScrambleLine(*termBytes) : std::nullopt;
    const bool expected = needle && !rest.isEmpty() && rest.contains(*needle);
    if (found(rest, term) != expected)
        std::abort();

    const auto stored = pagestore::encodePage(rest);
    if (!stored)
        return 0;
    for (const QByteArrayView line : splitLines(rest)) {
        const QByteArrayView prefix = line.first(qMin(line.size(), termLength));
        const QString part = codepage::decode(prefix);
        if (codepage::encodeExact(part) == prefix.toByteArray() && !found(*stored, part))
            std::abort();
    }
    return 0;
}
