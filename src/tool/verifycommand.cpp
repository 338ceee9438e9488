#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/drafts.h"
#include "diary/filelist.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"

#include <QDirIterator>

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

void checkPages(const DataRoot &root, Report &report)
{
    for (const QString &name : sortedFileNames(root.pagesDir())) {
        const QString file = root.pagesDir() + QLatin1Char('/') + name;
        if (daykeys::isPageFileName(name))
            report.check(file, pageOpens(root, file));
        else
            report.passOver(file, QStringLiteral("page"));
    }
}

void checkNotes(const DataRoot &root, Report &report)
{
    for (const QString &name : sortedFileNames(root.datesDir())) {
        const QString file = root.datesDir() + QLatin1Char('/') + name;
        if (daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(name)))
            report.check(file, noteOpens(root, file));
        else
            report.passOver(file, QStringLiteral("note"));
    }
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
    checkPages(root, report);
    checkNotes(root, report);
    checkDrafts(root, report);
    checkVersions(root, report);
    return report.finish();
}

} // namespace tool
