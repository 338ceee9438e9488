#include "daybook.h"

#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "sealedwords.h"
#include "sessionstate.h"

void DayBook::markChanged()
{
    setFileChanged(1);
}

void DayBook::setFileChanged(int changed)
{
    m_filechanged = changed;
    changed == 1 ? m_draft.touched() : m_draft.settled();
}

void DayBook::bringBack(const QByteArray &rtf)
{
    (void)richtext::loadBytes(rtf, m_page); // the same bytes opened before it was offered
    emit pageReplaced();
    setFileChanged(1);
}

// Typing not yet stored is in the page's draft; otherwise the page is its file, or nothing at all.
std::optional<QByteArray> DayBook::sealed() const
{
    if (m_filechanged == 1)
        return m_draft.readBack();
    if (m_openPageName.isEmpty())
        return QByteArray();
    return pagestore::loadFile(m_state.dataRoot(), m_pages.path() + QLatin1Char('/') + m_openPageName);
}

void DayBook::forgetWords()
{
    m_forgotten = sealedwords::forgetIfSealed(m_page, sealed());
}

// The changed flag and the draft's keeper are as they were: only the words come back.
void DayBook::recallWords()
{
    if (!std::exchange(m_forgotten, false))
        return;
    sealedwords::recall(m_page, sealed());
    emit pageReplaced();
}
