#include "rtfparser.h"

#include <algorithm>

namespace richtext {

RtfParser::RtfParser(QByteArrayView rtf, QTextDocument &document)
    : RtfWalk(rtf), m_document(document), m_builder(document)
{
}

void RtfParser::decodeBytes()
{
    QString &run = m_builder.run();
    const qsizetype start = run.size();
    decodeHeld(run);
    run.truncate(std::remove_if(run.begin() + start, run.end(), isUnstorable) - run.begin());
    m_builder.flushLongRun();
}

void RtfParser::runStarted()
{
    m_builder.setCharFormat(charFormat());
}

void RtfParser::character(char16_t character)
{
    m_builder.run().append(QChar(character));
}

void RtfParser::paragraphMark()
{
    m_builder.endParagraph(blockFormat());
}

// A floating picture shows at its shape's size, which the user may have
// set apart from the picture's own.
void RtfParser::picture(const RtfPictureData &picture)
{
    if (overflowed())
        return;
    RtfPictureData shown = picture;
    if (!m_pictureBox.isEmpty()) {
        shown.goalWidth = m_pictureBox.width();
        shown.goalHeight = m_pictureBox.height();
        shown.scaleX = shown.scaleY = 100;
    }
    if (const auto format = pictureFormat(m_document, shown))
        m_builder.insertImage(*format);
}

bool RtfParser::overflowed() const
{
    return m_builder.overflowed();
}

void RtfParser::pageEnded()
{
    m_builder.finish(blockFormat());
}

} // namespace richtext
