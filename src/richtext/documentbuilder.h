#pragma once

#include "rtflimits.h"

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextImageFormat>

class QTextDocument;

namespace richtext {

// Appends paragraphs, text runs and pictures to a document in reading order.
// A paragraph mark only ends its paragraph: the next one starts when content
// or another mark follows, so a closing \par leaves no empty paragraph behind.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(QTextDocument &document);

    // Text appended from now on carries this format.
    void setCharFormat(const QTextCharFormat &format);
    void appendText(QStringView text);
    // The run being collected, for the reader to decode into.
    QString &run();
    void flushLongRun();
    void insertImage(const QTextImageFormat &format);
    void endParagraph(const QTextBlockFormat &format);
    // Ends the reading; a paragraph left open takes this format.
    void finish(const QTextBlockFormat &format);
    // True once the page holds more than limits::kPageCharacters: nothing
    // more is added from then on.
    bool overflowed() const { return m_characters > limits::kPageCharacters; }

private:
    void flushRun();
    void startParagraph();

    QTextCursor m_cursor;
    QString m_run;
    QTextCharFormat m_format;
    bool m_paragraphEnded = false;
    qsizetype m_characters = 0;
};

} // namespace richtext
