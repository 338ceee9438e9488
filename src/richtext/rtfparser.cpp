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

void RtfParser::picture(const RtfPictureData &picture)
{
    if (const auto format = pictureFormat(m_document, picture))
        m_builder.insertImage(*format);
}

void RtfParser::pageEnded()
{
    m_builder.finish(blockFormat());
}

} // namespace richtext
