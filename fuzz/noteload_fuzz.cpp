#include "fuzzsupport.h"

#include "diary/dataroot.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "richtext/pagecontent.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::startQt(argc, argv);
    return 0;
}

// Any file in the dates folder loads into the note's document as the window
// loads it, and once saved, a note loads and saves to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTextDocument note;
    const DataRoot root(fuzzsupport::scratchFolder());
    const daykeys::MonthDay day{3, 5};
    fuzzsupport::writeScratch(QStringLiteral("dates/") + daykeys::noteFileName(day), fuzzsupport::bytesOf(data, size));
    const auto bytes = notestore::load(root, day);
    if (!bytes)
        std::abort();
    (void)richtext::loadBytes(*bytes, note);

    const QByteArray saved = notestore::encodeNote(notestore::decodeNote(*bytes));
    const QByteArray resaved = notestore::encodeNote(notestore::decodeNote(QByteArrayView(saved).chopped(2)));
    if (resaved != saved)
        std::abort();
    return 0;
}
