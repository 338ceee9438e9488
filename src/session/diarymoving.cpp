#include "diarymoving.h"

#include "daybook.h"
#include "diary/backup.h"
#include "diary/counted.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "yearnotes.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <set>

namespace {

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
        messages::tell(m_state.dialogs, messages::importFailed(*read.error));
        return;
    }
    if (read.entries.empty()) {
        messages::tell(m_state.dialogs, messages::importEmpty(QFileInfo(path).fileName()));
        return;
    }
    if (const auto unfit = diaryimport::unfitRecord(m_state.dataRoot(), read.entries)) {
        messages::tell(m_state.dialogs, messages::importFailed(*unfit));
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
    messages::tell(m_state.dialogs, messages::importDone(summary(days), failed));
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
    return messages::agreed(m_state.dialogs, messages::importOverPages(int(clashing.size()))) ? diaryimport::Existing::Append
                                                                                              : diaryimport::Existing::Skip;
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
        messages::tell(m_state.dialogs, messages::exportPartial(leftOut.join(QStringLiteral(", "))));
    else if (written)
        messages::tell(m_state.dialogs, messages::exportSaved());
    else
        messages::tell(m_state.dialogs, messages::exportFailed(written.error()));
}

// History included: a user expects a backup to hold the whole diary.
void DiaryMoving::backUp(const QString &path)
{
    QStringList leftOut;
    const Outcome saved = [&] {
        const BusyCursor busy;
        return backup::write(m_state.dataRoot(), path, true, &leftOut);
    }();
    if (!saved)
        messages::tell(m_state.dialogs, messages::backupFailed(saved.error()));
    else
        messages::tell(m_state.dialogs, leftOut.isEmpty() ? messages::backupSaved() : messages::backupSavedWithout(leftOut));
}
