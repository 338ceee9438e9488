#include "diaryimport.h"

#include "daypage.h"
#include "importjournal.h"

#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QTextDocument>

#include <algorithm>
#include <map>

namespace diaryimport {

namespace {

using Days = std::map<QDate, std::vector<const Entry *>>;

// Entries with a time take the places of the timed entries in time order;
// the others stay where they were read.
void orderByTime(std::vector<const Entry *> &day)
{
    std::vector<const Entry *> timed;
    std::ranges::copy_if(day, std::back_inserter(timed), [](const Entry *entry) { return entry->time.has_value(); });
    std::ranges::stable_sort(timed, {}, [](const Entry *entry) { return *entry->time; });
    auto next = timed.cbegin();
    for (const Entry *&place : day) {
        if (place->time)
            place = *next++;
    }
}

Days byDay(const std::vector<Entry> &entries)
{
    Days days;
    for (const Entry &entry : entries)
        days[entry.day].push_back(&entry);
    for (auto &[day, dayEntries] : days)
        orderByTime(dayEntries);
    return days;
}

std::optional<QString> unstorable(const QByteArray &rtf)
{
    if (rtf.size() > pagestore::kLargestPageText)
        return QStringLiteral("the page would be larger than a page can be (%1 MB)").arg(pagestore::kLargestPageText >> 20);
    if (!pagestore::encodePage(rtf))
        return QStringLiteral("the page would hold a character that cannot be stored");
    return std::nullopt;
}

DayReport failed(DayReport report, const QString &why)
{
    report.kind = DayReport::Kind::Failed;
    report.error = why;
    return report;
}

// Entries kept by their day and time are made whole for their page alone.
std::vector<Entry> wholeEntries(const std::vector<const Entry *> &entries)
{
    std::vector<Entry> whole;
    whole.reserve(entries.size());
    std::ranges::transform(entries, std::back_inserter(whole), [](const Entry *entry) { return wholeEntry(*entry); });
    return whole;
}

bool tooMuchText(const std::vector<Entry> &entries)
{
    qsizetype text = 0;
    for (const Entry &entry : entries)
        text += entry.title.size() + entry.text.size();
    return text > kLargestDayText;
}

// Whether a page already holds what the entries would add, as a run of this
// import whose record went would have left it: the day is not added twice.
bool holdsAlready(const QTextDocument &page, const std::vector<const Entry *> &entries)
{
    QTextDocument added;
    appendEntries(added, entries);
    return page.toPlainText().contains(added.toPlainText());
}

std::optional<DayReport> importDay(const DataRoot &root, QDate day, const std::vector<const Entry *> &entries,
                                   Existing existing, const ImportJournal &journal)
{
    DayReport report{daykeys::dayKey(day), DayReport::Kind::Created, int(entries.size()), {}, {}};
    QTextDocument page;
    if (pagestore::exists(root, day)) {
        if (existing == Existing::Skip) {
            report.kind = DayReport::Kind::Skipped;
            return report;
        }
        const auto stored = pagestore::load(root, day);
        if (!stored)
            return failed(report, QStringLiteral("its page cannot be read"));
        if (!richtext::readRtf(*stored, page))
            return failed(report, QStringLiteral("its page holds ") + richtext::tooMuchText());
        report.kind = DayReport::Kind::Appended;
    }
    const std::vector<Entry> whole = wholeEntries(entries);
    if (tooMuchText(whole))
        return failed(report, QStringLiteral("its entries come to more than %1 MiB of text, more than a day takes").arg(kLargestDayText >> 20));
    std::vector<const Entry *> ordered;
    std::ranges::transform(whole, std::back_inserter(ordered), [](const Entry &entry) { return &entry; });
    if (report.kind == DayReport::Kind::Appended && holdsAlready(page, ordered))
        return std::nullopt;
    report.refusedPictures = appendEntries(page, ordered);
    if (page.characterCount() > richtext::limits::kPageCharacters)
        return failed(report, QStringLiteral("the page would hold ") + richtext::tooMuchText());
    const QByteArray rtf = richtext::writeRtf(page);
    if (const auto why = unstorable(rtf))
        return failed(report, *why);
    if (const Outcome recorded = journal.starting(day); !recorded)
        return failed(report, recorded.error());
    if (const Outcome saved = pagestore::save(root, day, rtf); !saved)
        return failed(report, saved.error());
    return report;
}

} // namespace

std::optional<QString> unfitRecord(const DataRoot &root, const std::vector<Entry> &entries)
{
    return ImportJournal(root, entries).unfit();
}

std::vector<DayReport> importEntries(const DataRoot &root, const std::vector<Entry> &entries, Existing existing,
                                     const Progress &progress)
{
    const Days days = byDay(entries);
    const ImportJournal journal(root, entries);
    std::vector<DayReport> reports;
    if (journal.unfit())
        return reports;
    int done = 0;
    for (const auto &[day, dayEntries] : days) {
        auto report = journal.done(day) ? std::nullopt : importDay(root, day, dayEntries, existing, journal);
        if (report)
            reports.push_back(std::move(*report));
        if (progress && !progress(++done, int(days.size())))
            return reports;
    }
    journal.finished();
    return reports;
}

} // namespace diaryimport
