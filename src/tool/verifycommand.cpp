#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/thiscomputer.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "sync/conflictcopies.h"

#include <QDirIterator>
#include <QHash>

#include <algorithm>
#include <functional>

namespace tool {

namespace {

// Each file that does not open gets a line, so damage shows while a backup
// still holds the good copy; so does each file that is no plain page, note or
// version, to say what it is.
class Report
{
public:
    explicit Report(const DataRoot &root) : m_root(root) {}

    // what: said of a file that opens, when it is no plain page, note or version.
    void check(const QString &file, bool opens, const QString &what = {})
    {
        ++m_checked;
        m_unopened += int(!opens);
        if (!opens || !what.isEmpty())
            printLine(QStringLiteral("%1: %2").arg(m_root.relativeName(file), opens ? what : QStringLiteral("does not open")));
    }
    // A folder or a FIFO where a page should be: damage, and never opened.
    void notRegular(const QString &file, const QString &kind)
    {
        ++m_checked;
        ++m_unopened;
        printLine(QStringLiteral("%1: named as a %2, but not a regular file").arg(m_root.relativeName(file), kind));
    }
    // Never read by the program, so never counted as damage.
    void passOver(const QString &file, const QString &what)
    {
        printLine(QStringLiteral("%1: its name is not a %2's; left alone").arg(m_root.relativeName(file), what));
    }
    void notRegular(const conflictcopies::Found &copy)
    {
        printLine(QStringLiteral("%1: named as a copy of %2, but not a regular file; left alone").arg(copy.copy, copy.original));
    }
    int finish() const
    {
        printLine(QStringLiteral("%1 files checked, %2 do not open").arg(m_checked).arg(m_unopened));
        return m_unopened == 0 ? kDone : kFailed;
    }

private:
    const DataRoot &m_root;
    int m_checked = 0;
    int m_unopened = 0;
};

// Random bytes "open" on a plain diary; only rich text is a page.
bool pageOpens(const DataRoot &root, const QString &file, const QString &storedAs = {})
{
    const auto bytes = pagestore::loadFile(root, file, storedAs);
    return bytes && bytes->startsWith("{\\rtf");
}

bool noteOpens(const DataRoot &root, const QString &file, const QString &storedAs = {})
{
    return notestore::loadFile(root, file, storedAs).has_value();
}

bool opensAs(const DataRoot &root, const QString &file, const QString &storedName)
{
    const QString stored = root.path() + QLatin1Char('/') + storedName;
    return storedName.startsWith(QLatin1String("dates/")) ? noteOpens(root, file, stored) : pageOpens(root, file, stored);
}

// The sync tools' copies, by where they are.
using Copies = QHash<QString, conflictcopies::Found>;

Copies copiesOf(const DataRoot &root)
{
    Copies copies;
    for (const conflictcopies::Found &copy : conflictcopies::find(root))
        copies.insert(root.path() + QLatin1Char('/') + copy.copy, copy);
    return copies;
}

// Everything but hidden names (a save's temporary file), whatever it is, so a
// folder or a FIFO named like a page is said as well.
void checkFolder(const DataRoot &root, const QString &folder, const Copies &copies, Report &report, const QString &kind,
                 const std::function<bool(const QString &name)> &named)
{
    QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    std::ranges::sort(entries, {}, [](const QFileInfo &entry) { return entry.fileName(); });
    for (const QFileInfo &entry : entries) {
        const QString file = entry.filePath();
        if (const auto copy = copies.constFind(file); copy != copies.cend()) {
            if (!copy->regular)
                report.notRegular(*copy);
            else
                report.check(file, opensAs(root, file, copy->original), QStringLiteral("a sync tool's copy of %1, not merged yet").arg(copy->original));
        } else if (!named(entry.fileName())) {
            report.passOver(file, kind);
        } else if (!entry.isFile()) {
            report.notRegular(file, kind);
        } else {
            report.check(file, opensAs(root, file, root.relativeName(file)));
        }
    }
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

// Every computer's, each named by its own folder.
void checkDrafts(const DataRoot &root, Report &report)
{
    const QString own = QStringLiteral(".drafts/") + thiscomputer::id() + QLatin1Char('/');
    for (const QString &file : filesBelow(root.path() + QStringLiteral("/.drafts"))) {
        const QString relative = root.relativeName(file);
        const QString storedName = conversion::storedNameOf(relative);
        if (storedName == relative)
            report.passOver(file, QStringLiteral("draft"));
        else
            report.check(file, opensAs(root, file, storedName),
                         relative.startsWith(own) ? QString() : QStringLiteral("a draft of %1 from another computer").arg(storedName));
    }
}

void checkVersions(const DataRoot &root, Report &report)
{
    for (const QString &file : filesBelow(root.path() + QStringLiteral("/history"))) {
        const QString relative = root.relativeName(file);
        const QString storedName = conversion::storedNameOf(relative);
        if (storedName == relative)
            report.passOver(file, QStringLiteral("version"));
        else
            report.check(file, opensAs(root, file, storedName));
    }
}

} // namespace

// Reads only; the diary may stay open in the window meanwhile.
int verifyCommand(const QStringList &arguments)
{
    DiaryCommand command(QStringLiteral("Opens every page, note, draft (every computer's) and earlier version, "
                                        "and every sync tool's copy, and names each that does not open; also "
                                        "says what each copy, other computer's draft and file in the pages and "
                                        "dates folders that is not a page or note is. Exits 1 when a file does "
                                        "not open."));
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    const DataRoot &root = command.root();
    Report report(root);
    const Copies copies = copiesOf(root);
    checkFolder(root, root.pagesDir(), copies, report, QStringLiteral("page"), daykeys::isPageFileName);
    checkFolder(root, root.datesDir(), copies, report, QStringLiteral("note"),
                [](const QString &name) { return daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(name)).has_value(); });
    checkDrafts(root, report);
    checkVersions(root, report);
    return report.finish();
}

} // namespace tool
