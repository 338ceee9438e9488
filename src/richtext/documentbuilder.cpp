#include "documentbuilder.h"

#include <QTextBlock>
#include <QTextDocument>

namespace richtext {

namespace {

// A run of one format is inserted in parts of this many characters, so a
// page of one long run is never held twice.
constexpr qsizetype kLongRun = 1 << 16;

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument &document) : m_cursor(&document)
{
    m_cursor.movePosition(QTextCursor::End);
}

void DocumentBuilder::setCharFormat(const QTextCharFormat &format)
{
    flushRun();
    m_format = format;
}

void DocumentBuilder::appendText(QStringView text)
{
    m_run += text;
}

QString &DocumentBuilder::run()
{
    return m_run;
}

void DocumentBuilder::flushLongRun()
{
    if (m_run.size() >= kLongRun)
        flushRun();
}

void DocumentBuilder::insertImage(const QTextImageFormat &format)
{
    flushRun();
    if (overflowed())
        return;
    ++m_characters;
    startParagraph();
    QTextImageFormat image = format;
    image.merge(m_format);
    m_cursor.insertImage(image);
}

void DocumentBuilder::endParagraph(const QTextBlockFormat &format)
{
    flushRun();
    startParagraph();
    m_cursor.setBlockFormat(format);
    if (m_cursor.block().length() == 1)
        m_cursor.setBlockCharFormat(m_format);
    m_paragraphEnded = true;
}

void DocumentBuilder::finish(const QTextBlockFormat &format)
{
    flushRun();
    if (!m_paragraphEnded && m_cursor.block().length() > 1)
        m_cursor.setBlockFormat(format);
}

void DocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_characters += m_run.size();
    if (!overflowed()) {
        startParagraph();
        m_cursor.insertText(m_run, m_format);
    }
    m_run.clear();
}

void DocumentBuilder::startParagraph()
{
    if (!m_paragraphEnded || overflowed())
        return;
    ++m_characters;
    m_cursor.insertBlock();
    m_paragraphEnded = false;
}

} // namespace richtext
