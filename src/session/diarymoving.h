#pragma once

#include "export/rangeexport.h"
#include "import/diaryimport.h"
#include "import/readers.h"

#include <QString>

#include <optional>
#include <vector>

class DayBook;
class SessionState;
class YearNotes;

// The diary's pages moving in and out: imports, exports and backups.
class DiaryMoving
{
public:
    DiaryMoving(SessionState &state, DayBook &book, YearNotes &notes) : m_state(state), m_book(book), m_notes(notes) {}

    // File > Import Diary...: the export at `path` is read whole or refused
    // with its reason; days with a page are added to or left as the user
    // answers, once; a summary tells each day's fate. `progress` hears each day stored.
    void importDiary(diaryimport::Source source, const QString &path, const diaryimport::Progress &progress = {});
    // File > Export...: unsaved typing is offered first, so what the page
    // shows is what is exported; the outcome is told.
    void exportPages(const rangeexport::Request &request, const rangeexport::Progress &progress = {});
    // File > Back Up Diary...: the whole diary, history included, zipped to
    // `path`; the outcome is told.
    void backUp(const QString &path);

private:
    std::optional<diaryimport::Existing> askAboutDaysWithPages(const std::vector<diaryimport::Entry> &entries);

    SessionState &m_state;
    DayBook &m_book;
    YearNotes &m_notes;
};
