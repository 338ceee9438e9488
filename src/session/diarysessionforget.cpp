#include "diarysession.h"

#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "vault/wipe.h"

namespace {

// Dropped only when its words can be read back: a draft the disk refused keeps them in memory.
bool forgetIfSealed(QTextDocument &document, std::optional<QByteArray> sealed)
{
    if (!sealed)
        return false;
    wipe(*sealed);
    richtext::forget(document);
    return true;
}

void recall(QTextDocument &document, std::optional<QByteArray> sealed)
{
    if (!sealed)
        return;
    (void)richtext::loadBytes(*sealed, document); // it was shown before the lock
    wipe(*sealed);
}

} // namespace

// Typing not yet stored is in the page's draft; otherwise the page is its file, or nothing at all.
std::optional<QByteArray> DiarySession::sealedPage() const
{
    if (m_filechanged == 1)
        return m_pageDraft.readBack();
    if (m_openPageName.isEmpty())
        return QByteArray();
    return pagestore::loadFile(dataRoot(), m_pages.path() + QLatin1Char('/') + m_openPageName);
}

// A note no one typed into is its stored file, or empty where there is none.
std::optional<QByteArray> DiarySession::sealedNote() const
{
    if (!m_noteDraft.idle())
        return m_noteDraft.readBack();
    return notestore::load(dataRoot(), m_noteKey).value_or(QByteArray());
}

void DiarySession::forgetOpenDiary()
{
    m_pageForgotten = forgetIfSealed(m_page, sealedPage());
    m_noteForgotten = forgetIfSealed(m_note, sealedNote());
    m_texts.clear();
}

// The changed flag and the drafts' keepers are as they were: only the words come back.
void DiarySession::recallOpenDiary()
{
    if (std::exchange(m_pageForgotten, false)) {
        recall(m_page, sealedPage());
        emit pageReplaced();
    }
    if (std::exchange(m_noteForgotten, false)) {
        recall(m_note, sealedNote());
        emit noteReplaced();
    }
}
