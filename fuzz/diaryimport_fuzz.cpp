#include "fuzzsupport.h"

#include "import/daypage.h"
#include "import/readers.h"
#include "richtext/rtfwriter.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::startQt(argc, argv);
    return 0;
}

namespace {

// The first byte picks the reader; the rest is the file it is given.
diaryimport::Read readAs(unsigned char kind, const QByteArray &bytes)
{
    switch (kind % 4) {
    case 0:
        return diaryimport::readJrnl(fuzzsupport::writeScratch(QStringLiteral("journal.json"), bytes));
    case 1:
        return diaryimport::readMiniDiary(fuzzsupport::writeScratch(QStringLiteral("minidiary.json"), bytes));
    case 2:
        return diaryimport::readRedNotebook(fuzzsupport::writeScratch(QStringLiteral("2020-05.txt"), bytes));
    default:
        return diaryimport::readDayOne(fuzzsupport::writeScratch(QStringLiteral("export.zip"), bytes));
    }
}

} // namespace

// Any export either is refused whole or gives entries that become pages a
// page's RTF can hold.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const diaryimport::Read read = readAs(data[0], fuzzsupport::bytesOf(data + 1, size - 1));
    if (read.error) {
        if (!read.entries.empty())
            std::abort();
        return 0;
    }
    std::vector<diaryimport::Entry> whole;
    for (const diaryimport::Entry &entry : read.entries)
        whole.push_back(diaryimport::wholeEntry(entry));
    std::vector<const diaryimport::Entry *> entries;
    for (const diaryimport::Entry &entry : whole)
        entries.push_back(&entry);
    QTextDocument page;
    diaryimport::appendEntries(page, entries);
    richtext::writeRtf(page);
    return 0;
}
