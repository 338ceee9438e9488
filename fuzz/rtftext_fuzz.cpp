#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

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

// The one-pass text must be the reader's text, whatever the bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView rtf(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument page;
    (void)richtext::readRtf(rtf, page);
    if (richtext::visibleText(rtf) != richtext::plainText(page))
        std::abort();
    return 0;
}
