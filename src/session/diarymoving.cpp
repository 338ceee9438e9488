#include "diarymoving.h"

#include "daybook.h"
#include "diary/backup.h"
#include "diary/counted.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "sessionstate.h"
#include "yearnotes.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <set>

namespace {

const QString kImportTitle = QStringLiteral("Import Diary");
const QString kExportTitle = QStringLiteral("Export");
// More days than this are counted, not listed, in the summary.
constexpr int kDaysListed = 25;

QString fate(const diaryimport::DayReport &day)
{
    using Kind = diaryimport::DayReport::Kind;
    switch (day.kind) {
    case Kind::Created:
        return QStringLiteral("new page");
    case Kind::Appended:
        return QStringLiteral("added below its page");
    case Kind::Skipped:
        return QStringLiteral("skipped, it has a page");
    case Kind::Failed:
        break;
    }
    return QStringLiteral("not imported: %1").arg(day.error);
}

QString summary(const std::vector<diaryimport::DayReport> &days)
{
    std::map<diaryimport::DayReport::Kind, int> counts;
    for (const auto &day : days)
        ++counts[day.kind];
    using Kind = diaryimport::DayReport::Kind;
    QString text = QStringLiteral("%1 imported: %2, %3 added to, %4 skipped, %5 failed.\n")
                       .arg(counted(qsizetype(days.size()), "day", "days"), counted(counts[Kind::Created], "new page", "new pages"),
                            counted(counts[Kind::Appended], "page", "pages"), counted(counts[Kind::Skipped], "day", "days"))
                       .arg(counts[Kind::Failed]);
    int listed = 0;
    for (const auto &day : days) {
        // A failure or a refused picture is always named; the others only while the list stays short.
        if (day.kind != Kind::Failed && day.refusedPictures.isEmpty() && listed >= kDaysListed)
            continue;
        text += QStringLiteral("\n%1: %2").arg(day.dayKey, fate(day));
        if (!day.refusedPictures.isEmpty())
            text += QStringLiteral("; pictures left out: %1").arg(day.refusedPictures.join(QStringLiteral("; ")));
        ++listed;
    }
    if (listed < int(days.size()))
        text += QStringLiteral("\n... and %1.").arg(counted(qsizetype(days.size()) - listed, "more day", "more days"));
    return text;
}

} // namespace

void DiaryMoving::importDiary(diaryimport::Source source, const QString &path, const diaryimport::Progress &progress)
{
    if (!m_notes.leaveNote())
        return;
    m_book.AskToSavePage();
    diaryimport::Read read;
    {
        const BusyCursor busy;
        read = diaryimport::readDiary(source, path);
    }
    if (read.error) {
        m_state.dialogs.message(QStringLiteral("Nothing was imported. %1").arg(*read.error), kImportTitle, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    if (read.entries.empty()) {
        m_state.dialogs.message(QStringLiteral("%1 holds no entries.").arg(QFileInfo(path).fileName()), kImportTitle,
                          Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        return;
    }
    const auto existing = askAboutDaysWithPages(read.entries);
    if (!existing)
        return;
    std::vector<diaryimport::DayReport> days;
    {
        const BusyCursor busy;
        days = diaryimport::importEntries(m_state.dataRoot(), read.entries, *existing, progress);
    }
    m_state.texts.clear();
    m_book.reopenSelectedDay();
    const bool failed = std::any_of(days.begin(), days.end(), [](const auto &day) { return day.kind == diaryimport::DayReport::Kind::Failed; });
    m_state.dialogs.message(summary(days), kImportTitle, failed ? Dialogs::Icon::Exclamation : Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

// Asked only when it matters: no page is ever replaced, so the question is
// whether the imported text goes below them. Nothing means no days clash.
std::optional<diaryimport::Existing> DiaryMoving::askAboutDaysWithPages(const std::vector<diaryimport::Entry> &entries)
{
    std::set<QDate> clashing;
    for (const auto &entry : entries) {
        if (entry.day.isValid() && pagestore::exists(m_state.dataRoot(), entry.day))
            clashing.insert(entry.day);
    }
    if (clashing.empty())
        return diaryimport::Existing::Skip;
    const QString question = clashing.size() == 1
        ? QStringLiteral("1 of the days being imported already has a page. Do you want to add the imported text below "
                         "that page? If you choose No, that day is left as it is.")
        : QStringLiteral("%1 of the days being imported already have a page. Do you want to add the imported text below "
                         "those pages? If you choose No, those days are left as they are.")
              .arg(clashing.size());
    const auto answer = m_state.dialogs.message(question, kImportTitle, Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    return answer == Dialogs::Button::Yes ? diaryimport::Existing::Append : diaryimport::Existing::Skip;
}

void DiaryMoving::exportPages(const rangeexport::Request &request, const rangeexport::Progress &progress)
{
    m_book.AskToSavePage();
    Outcome written = Outcome::success();
    QStringList leftOut;
    {
        const BusyCursor busy;
        written = rangeexport::exportRange(m_state.dataRoot(), request, progress, &leftOut);
    }
    if (!leftOut.isEmpty())
        m_state.dialogs.message(QStringLiteral("Export saved without the pages of %1, which could not be read.").arg(leftOut.join(QStringLiteral(", "))),
                          kExportTitle, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    else if (written)
        m_state.dialogs.message(QStringLiteral("Export saved"), kExportTitle, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    else
        m_state.dialogs.message(QStringLiteral("The pages were not exported: %1").arg(written.error()), kExportTitle,
                          Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
}

// History included: a user expects a backup to hold the whole diary.
void DiaryMoving::backUp(const QString &path)
{
    const Outcome saved = [&] {
        const BusyCursor busy;
        return backup::write(m_state.dataRoot(), path, true);
    }();
    m_state.dialogs.message(saved ? QStringLiteral("Backup saved") : saved.error(), QStringLiteral("Quillnest version 2"),
                            saved ? Dialogs::Icon::Information : Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
}
