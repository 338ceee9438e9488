#include "diarytally.h"

#include "daybook.h"
#include "seams/busycursor.h"
#include "seams/clock.h"
#include "sessionstate.h"

QList<diaryfigures::Page> DiaryTally::pages() const
{
    const BusyCursor busy;
    return diaryfigures::pages(m_state.dataRoot(), m_book.pages(), &m_state.texts);
}

QDate DiaryTally::today() const
{
    return m_state.clock.today();
}
