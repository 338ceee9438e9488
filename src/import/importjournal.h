#pragma once

#include "entry.h"

#include "diary/dataroot.h"
#include "diary/outcome.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace diaryimport {

// Where an import that was stopped (killed, cancelled, the power cut) had
// got to, so running the same import again finishes it without adding a day
// twice. Days are imported oldest first, so one record says it all: the day
// being stored and a hash of its page's file just before. The record lives
// in a hidden file of the diary folder named after the import's entries and
// goes once the import is complete. The rule for days with a page is left
// out of the name: the window asks it again on a rerun, when the days
// already stored have pages, and either answer must still not store a day
// twice.
class ImportJournal
{
public:
    ImportJournal(const DataRoot &root, const std::vector<Entry> &entries);

    // Why the record an earlier run left cannot be this import's: it does
    // not read as one, or names a day the import does not have.
    std::optional<QString> unfit() const;
    // Whether an earlier run of this import already stored the day.
    bool done(QDate day) const;
    // Written before the day's page is stored.
    Outcome starting(QDate day) const;
    void finished() const;

private:
    QByteArray pageHash(QDate day) const;

    DataRoot m_root;
    QString m_path;
    bool m_unreadable = false;
    bool m_foreignDay = false;
    QDate m_day;
    QByteArray m_pageHash;
};

} // namespace diaryimport
