#include "diarysearch.h"

#include "daybook.h"
#include "diary/daykeys.h"
#include "diary/onthisday.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/textmatches.h"
#include "seams/busycursor.h"
#include "sessionstate.h"

QStringList DiarySearch::search(const QString &term, textsearch::Options options)
{
    const BusyCursor busy;
    m_searchTerm = term;
    m_searchOptions = options;
    return textsearch::search(m_state.dataRoot(), m_book.pages(), term, options, &m_state.texts);
}

void DiarySearch::openResult(const QString &name)
{
    m_book.openEntry(name);
}

QString DiarySearch::resultContext(const QString &name) const
{
    return textsearch::context(m_state.dataRoot(), name, m_searchTerm, m_searchOptions, &m_state.texts);
}

QList<QTextCursor> DiarySearch::resultMatches() const
{
    return textsearch::matchesIn(m_book.page(), m_searchTerm, m_searchOptions);
}

QList<QDate> DiarySearch::onThisDay() const
{
    return onthisday::earlierDays(m_book.pages(), m_book.selectedDay());
}

QString DiarySearch::firstLineOf(QDate day) const
{
    const auto bytes = pagestore::load(m_state.dataRoot(), day);
    return bytes ? richtext::firstLine(*bytes) : QString();
}
