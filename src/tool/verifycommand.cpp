#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/drafts.h"
#include "diary/filelist.h"
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
// still holds the good copy.
class Report
{
public:
    explicit Report(const DataRoot &root) : m_root(root) {}

    void check(const QString &file, bool opens)
    {
        ++m_checked;
        if (opens)
            return;
        ++m_unopened;
        printLine(QStringLiteral("%1: does not open").arg(m_root.relativeName(file)));
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

bool pageOpens(const DataRoot &root, const QString &file, const QString &storedAs = {})
{
    return pagestore::loadFile(root, file, storedAs).has_value();
}

bool noteOpens(const DataRoot &root, const QString &file, const QString &storedAs = {})
{
    return notestore::loadFile(root, file, storedAs).has_value();
}

// Named like a sync tool's copy but a FIFO, a device, a folder or a link:
// never opened, and listed in its place among the files.
using OddCopies = QHash<QString, conflictcopies::Found>;

OddCopies oddCopies(const DataRoot &root)
{
    OddCopies odd;
    for (const conflictcopies::Found &copy : conflictcopies::find(root)) {
        if (!copy.regular)
            odd.insert(root.path() + QLatin1Char('/') + copy.copy, copy);
    }
    return odd;
}

QStringList filesAndOddCopies(const QString &folder, const OddCopies &odd)
{
    QStringList files;
    for (const QString &name : sortedFileNames(folder))
        files << folder + QLatin1Char('/') + name;
    for (const QString &copy : odd.keys()) {
        if (QFileInfo(copy).path() == folder && !files.contains(copy))
            files << copy;
    }
    std::ranges::sort(files);
    return files;
}

void checkFolder(const QString &folder, const OddCopies &odd, Report &report, const std::function<void(const QString &)> &check)
{
    for (const QString &file : filesAndOddCopies(folder, odd)) {
        if (const auto copy = odd.constFind(file); copy != odd.cend())
            report.notRegular(*copy);
        else
            check(file);
    }
}

void checkPages(const DataRoot &root, const OddCopies &odd, Report &report)
{
    checkFolder(root.pagesDir(), odd, report, [&](const QString &file) {
        if (daykeys::isPageFileName(QFileInfo(file).fileName()))
            report.check(file, pageOpens(root, file));
        else
            report.passOver(file, QStringLiteral("page"));
    });
}

void checkNotes(const DataRoot &root, const OddCopies &odd, Report &report)
{
    checkFolder(root.datesDir(), odd, report, [&](const QString &file) {
        if (daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(QFileInfo(file).fileName())))
            report.check(file, noteOpens(root, file));
        else
            report.passOver(file, QStringLiteral("note"));
    });
}

void checkDrafts(const DataRoot &root, Report &report)
{
    for (const drafts::Draft &draft : drafts::found(root)) {
        const QString stored = drafts::storedFile(root, draft);
        report.check(draft.path, draft.kind == drafts::Kind::Note ? noteOpens(root, draft.path, stored)
                                                                  : pageOpens(root, draft.path, stored));
    }
}

void checkVersions(const DataRoot &root, Report &report)
{
    QStringList files;
    QDirIterator it(root.path() + QStringLiteral("/history"), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    for (const QString &file : files) {
        const QString relative = root.relativeName(file);
        const QString storedName = conversion::storedNameOf(relative);
        const QString stored = root.path() + QLatin1Char('/') + storedName;
        if (storedName == relative)
            report.passOver(file, QStringLiteral("version"));
        else
            report.check(file, storedName.startsWith(QLatin1String("dates/")) ? noteOpens(root, file, stored)
                                                                              : pageOpens(root, file, stored));
    }
}

} // namespace

// Reads only; the diary may stay open in the window meanwhile.
int verifyCommand(const QStringList &arguments)
{
    DiaryCommand command(QStringLiteral("Opens every page, note, draft and earlier version and names each "
                                        "that does not open; also names the files in the pages and dates "
                                        "folders that are not pages or notes. Exits 1 when a file does not open."));
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    const DataRoot &root = command.root();
    Report report(root);
    const OddCopies odd = oddCopies(root);
    checkPages(root, odd, report);
    checkNotes(root, odd, report);
    checkDrafts(root, report);
    checkVersions(root, report);
    return report.finish();
}

} // namespace tool
