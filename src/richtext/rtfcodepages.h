#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace richtext {

// The ICU name of a font's \fcharset, or an empty name for "the document's
// code page" (ANSI and default charsets).
QByteArray charsetCodePage(int charset);
// The ICU name of an \ansicpg or \cpg number.
QByteArray windowsCodePage(int number);

// Decodes \'hh bytes and text runs, keeping one decoder per code page so a
// double-byte character split over two runs still reads right.
class CodePageDecoder
{
public:
    void append(QString &out, QByteArrayView bytes, const QByteArray &codePage);

private:
    QStringDecoder &decoderFor(const QByteArray &codePage);
    std::map<QByteArray, QStringDecoder> m_decoders;
};

} // namespace richtext
