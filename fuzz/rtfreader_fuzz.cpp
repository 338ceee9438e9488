#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

// Whatever the reader makes of the input, the writer must store it so that
// reading it again gives the same characters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTextDocument page;
    (void)richtext::readRtf(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), page);
    const QByteArray stored = richtext::writeRtf(page);
    QTextDocument again;
    (void)richtext::readRtf(stored, again);
    if (again.toRawText() != page.toRawText())
        std::abort();
    return 0;
}
