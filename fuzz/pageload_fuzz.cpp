#include "fuzzsupport.h"

#include "diary/pagestore.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::startQt(argc, argv);
    return 0;
}

// Any file in the pages folder opens as a page as the window opens it, and
// that page, saved and opened again, shows the same characters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzsupport::writeScratch(QStringLiteral("pages/2024-03-05.dat"), fuzzsupport::bytesOf(data, size));
    const auto rtf = pagestore::loadFile(DataRoot(fuzzsupport::scratchFolder()), path);
    if (!rtf)
        return 0;
    QTextDocument page;
    (void)richtext::readRtf(*rtf, page);

    const auto stored = pagestore::encodePage(richtext::writeRtf(page));
    if (!stored)
        std::abort();
    QTextDocument again;
    (void)richtext::readRtf(pagestore::decodePage(*stored), again);
    if (again.toRawText() != page.toRawText())
        std::abort();
    return 0;
}
