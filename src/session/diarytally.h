#pragma once

#include "richtext/diaryfigures.h"

#include <QDate>
#include <QList>

class DayBook;
class SessionState;

// The figures of every page, for the writing calendar: read through the
// search's text cache, so a page the cache holds is not read again and
// nothing of an encrypted diary's text reaches the disk.
class DiaryTally
{
public:
    DiaryTally(SessionState &state, DayBook &book) : m_state(state), m_book(book) {}

    QList<diaryfigures::Page> pages() const;
    QDate today() const;

private:
    SessionState &m_state;
    DayBook &m_book;
};
