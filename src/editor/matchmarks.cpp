#include "matchmarks.h"

#include <QTextEdit>

MatchMarks::MatchMarks(QTextEdit &editor) : m_editor(editor) {}

void MatchMarks::show(const QList<QTextCursor> &matches)
{
    m_matches = matches;
    if (m_matches.isEmpty())
        clear();
    else
        goTo(0);
}

void MatchMarks::clear()
{
    m_matches.clear();
    m_current = -1;
    m_editor.setExtraSelections({});
}

void MatchMarks::next()
{
    if (!m_matches.isEmpty())
        goTo((m_current + 1) % m_matches.size());
}

void MatchMarks::previous()
{
    if (!m_matches.isEmpty())
        goTo((m_current + m_matches.size() - 1) % m_matches.size());
}

// The match in hand wears the selection's colours; the others a paler mark,
// so it stands out among them.
void MatchMarks::goTo(qsizetype index)
{
    m_current = index;
    const QPalette palette = m_editor.palette();
    QColor pale = palette.color(QPalette::Highlight);
    pale.setAlpha(90);
    QList<QTextEdit::ExtraSelection> marks;
    marks.reserve(m_matches.size());
    for (qsizetype i = 0; i < m_matches.size(); ++i) {
        QTextEdit::ExtraSelection mark{m_matches[i], {}};
        if (i == index) {
            mark.format.setBackground(palette.color(QPalette::Highlight));
            mark.format.setForeground(palette.color(QPalette::HighlightedText));
        } else {
            mark.format.setBackground(pale);
        }
        marks.append(mark);
    }
    m_editor.setExtraSelections(marks);
    QTextCursor caret = m_editor.textCursor();
    caret.setPosition(m_matches[index].selectionStart());
    m_editor.setTextCursor(caret);
    m_editor.ensureCursorVisible();
}
