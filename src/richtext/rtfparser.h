#pragma once

#include "documentbuilder.h"
#include "rtfpicturedata.h"
#include "rtfwalk.h"

#include <QTextDocument>

namespace richtext {

// The document-building sink of RtfWalk.
class RtfParser : public RtfWalk<RtfParser, RtfPictureData>
{
public:
    RtfParser(QByteArrayView rtf, QTextDocument &document);
    bool overflowed() const;

private:
    friend class RtfWalk<RtfParser, RtfPictureData>;

    // rtfparser.cpp: what the walker hands on
    void textBytes(QByteArrayView bytes) { holdBytes(bytes); }
    void decodeBytes();
    void runStarted();
    void character(char16_t character);
    void paragraphMark();
    void picture(const RtfPictureData &picture);
    void pageEnded();

    // rtfparsercontrols.cpp: formats and the picture's own control words
    void pictureWord(RtfPictureData &picture, const RtfToken &token, Control control);
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;

    QTextDocument &m_document;
    DocumentBuilder m_builder;
};

} // namespace richtext
