#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace richtext {

// The ICU name of a font's \fcharset, or an empty name for "the document's
// code page" (the default charset, and those ICU cannot decode). A font's own
// charset wins over the document's code page: a Western font in a Chinese
// document still holds Western text.
QByteArray charsetCodePage(int charset);
// The ICU name of an \ansicpg or \cpg number.
QByteArray windowsCodePage(int number);

// Decodes \'hh bytes and text runs, keeping one decoder per code page. Each
// run decodes on its own: a lead byte left at a run's end is dropped, never
// joined to the next run's first byte.
class CodePageDecoder
{
public:
    void append(QString &out, QByteArrayView bytes, const QByteArray &codePage);

private:
    QStringDecoder &decoderFor(const QByteArray &codePage);
    std::map<QByteArray, QStringDecoder> m_decoders;
};

} // namespace richtext
