#pragma once

#include <QList>
#include <QTextCursor>

class QTextEdit;

// The search's matches marked in an editor the way a selection is, as marks
// that are not part of the text: nothing is typed, stored or counted as a
// change. The caret goes to the match in hand, which is kept in view.
class MatchMarks
{
public:
    explicit MatchMarks(QTextEdit &editor);

    // Marks every match and goes to the first.
    void show(const QList<QTextCursor> &matches);
    void clear();
    bool isEmpty() const { return m_matches.isEmpty(); }
    // Round the page: after the last match comes the first again.
    void next();
    void previous();
    qsizetype current() const { return m_current; }

private:
    void goTo(qsizetype index);

    QTextEdit &m_editor;
    QList<QTextCursor> m_matches;
    qsizetype m_current = -1;
};
