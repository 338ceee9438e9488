#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

namespace spelling {

class Service;

// Marks the misspelt words of a document with the desktop's red wavy
// underline. The marks belong to the layout, not to the text: no save, copy
// or changed flag sees them. Typing is checked at once; a large change (a page
// opened, a long paste) is checked in short slices between the window's
// events, so it never holds up opening a page or the next key.
class SpellHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SpellHighlighter(QTextDocument &document, const Service &service, QObject *parent);
    // Qt's own destructor clears the marks, which the document reports as a
    // change: our watch on it must be gone by then.
    ~SpellHighlighter() override;

    // Checks whatever is left now.
    void finishNow();
    bool isFinished() const;
    void detach();
    void attach();

protected:
    void highlightBlock(const QString &text) override;

private:
    void beforeChange(int from, int removed, int added);
    void checkSlice(qint64 nanoseconds);
    void checkAgain();

    QTextDocument &m_document;
    const Service &m_service;
    QTextCharFormat m_mark;
    QTimer m_slices;
    QList<QMetaObject::Connection> m_watching;
    bool m_checkNow = false;
    bool m_slicing = false;
};

// Printing draws the editor's layout, so the marks would print: they are
// taken off while this lives and come back after.
class MarksHidden
{
public:
    explicit MarksHidden(SpellHighlighter *highlighter) : m_highlighter(highlighter)
    {
        if (m_highlighter)
            m_highlighter->detach();
    }
    ~MarksHidden()
    {
        if (m_highlighter)
            m_highlighter->attach();
    }
    MarksHidden(const MarksHidden &) = delete;
    MarksHidden &operator=(const MarksHidden &) = delete;

private:
    SpellHighlighter *m_highlighter;
};

} // namespace spelling
