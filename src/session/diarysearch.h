#pragma once

#include "richtext/textsearch.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCursor>

class DayBook;
class SessionState;

// The search over the pages and where its term shows, and the pages of
// earlier years on the selected day.
class DiarySearch
{
public:
    DiarySearch(SessionState &state, DayBook &book) : m_state(state), m_book(book) {}

    // As shipped, matching case in the markup, the options give the stored-markup search exactly.
    QStringList search(const QString &term, textsearch::Options options = {});
    void openResult(const QString &name);
    // The line of a result around its first match, for the result's tool tip.
    QString resultContext(const QString &name) const;
    // Where the last search's term shows in the open page.
    QList<QTextCursor> resultMatches() const;

    // The pages of earlier years on the selected day's month and day, newest first.
    QList<QDate> onThisDay() const;
    // The first line of a day's stored page, for its memory's tool tip.
    QString firstLineOf(QDate day) const;

private:
    SessionState &m_state;
    DayBook &m_book;
    QString m_searchTerm;
    textsearch::Options m_searchOptions;
};
