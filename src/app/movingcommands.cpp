#include "movingcommands.h"

#include "app/autolock.h"
#include "app/mainmenus.h"
#include "app/windowlock.h"
#include "app/progressbox.h"
#include "diary/daykeys.h"
#include "diary/dataroot.h"
#include "seams/clock.h"
#include "seams/messages.h"
#include "session/daybook.h"
#include "session/diarymoving.h"
#include "session/vaultcontrols.h"
#include "ui/startfolder.h"

#include <QAction>
#include <QDir>

#include <array>

namespace {

struct SourceChoice
{
    const char *caption;
    diaryimport::Source source;
    bool folder;
    const char *filter;
};

const std::array<SourceChoice, 6> kSources{{
    {"jrnl (its JSON export)", diaryimport::Source::Jrnl, false, "JSON files (*.json)|*.json|All Files (*.*)|*.*"},
    {"Day One (its JSON export, a zip)", diaryimport::Source::DayOne, false, "Zip archives (*.zip)|*.zip"},
    {"Day One (its JSON export, unpacked into a folder)", diaryimport::Source::DayOne, true, ""},
    {"Mini Diary (its JSON export)", diaryimport::Source::MiniDiary, false, "JSON files (*.json)|*.json|All Files (*.*)|*.*"},
    {"RedNotebook (its data folder)", diaryimport::Source::RedNotebook, true, ""},
    {"Markdown files named by their day (a folder)", diaryimport::Source::Markdown, true, ""},
}};

std::optional<Dialogs::DayRange> pagedDays(const QStringList &pages)
{
    std::optional<Dialogs::DayRange> range;
    for (const QString &name : pages) {
        const auto day = daykeys::dateFromFileName(name);
        if (!day)
            continue;
        if (!range)
            range = Dialogs::DayRange{*day, *day};
        range->to = *day;
    }
    return range;
}

} // namespace

MovingCommands::MovingCommands(QWidget &window, DiarySession &session, const AppServices &services, const WindowLock &lock)
    : QObject(&window), m_window(window), m_session(session), m_services(services), m_lock(lock)
{
}

void MovingCommands::connectMenus(const MainMenus &menus)
{
    connect(menus.m22, &QAction::triggered, this, &MovingCommands::backUpDiary);
    connect(menus.m25, &QAction::triggered, this, &MovingCommands::importDiary);
    connect(menus.m26, &QAction::triggered, this, &MovingCommands::exportPages);
    connect(menus.m18, &QAction::triggered, this,
            [this] { convertShowingProgress(QStringLiteral("Renewing the key..."), &VaultControls::changePassword); });
    connect(menus.m23, &QAction::triggered, this,
            [this] { convertShowingProgress(QStringLiteral("Encrypting..."), &VaultControls::encryptDiary); });
    connect(menus.m24, &QAction::triggered, this,
            [this] { convertShowingProgress(QStringLiteral("Decrypting..."), &VaultControls::decryptDiary); });
    connect(&m_session.vault(), &VaultControls::encryptionChanged, this, [encrypt = menus.m23, decrypt = menus.m24](bool encrypted) {
        encrypt->setVisible(!encrypted);
        decrypt->setVisible(encrypted);
    });
}

void MovingCommands::backUpDiary()
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("quillnest-backup-%1.zip").arg(daykeys::dayKey(m_services.clock->today())));
    const QString path = m_services.dialogs->saveFile(QStringLiteral("Back Up Diary"), suggested, QStringLiteral("Zip archives (*.zip)|*.zip"));
    if (path.isEmpty())
        return;
    m_session.moving().backUp(path);
}

void MovingCommands::importDiary()
{
    Dialogs &dialogs = *m_services.dialogs;
    const QString title = QStringLiteral("Import Diary");
    QStringList captions;
    for (const SourceChoice &source : kSources)
        captions.append(QString::fromLatin1(source.caption));
    const auto choice = dialogs.choose(title, QStringLiteral("Import from:"), captions, {});
    if (!choice)
        return;
    const SourceChoice &source = kSources.at(size_t(choice->index));
    const QString from = startFolder(QStandardPaths::DocumentsLocation);
    const QString path = source.folder ? dialogs.openFolder(title, from) : dialogs.openFile(title, QString::fromLatin1(source.filter), from);
    if (path.isEmpty())
        return;
    ProgressBox progress(&m_window, QStringLiteral("Importing..."));
    m_session.moving().importDiary(source.source, path, [&](int done, int total) { return progress.update(done, total); });
}

void MovingCommands::exportPages()
{
    Dialogs &dialogs = *m_services.dialogs;
    const QString title = QStringLiteral("Export");
    const auto days = pagedDays(m_session.book().pages());
    if (!days) {
        messages::tell(dialogs, messages::nothingToExport());
        return;
    }
    const QStringList formats{QStringLiteral("PDF document"), QStringLiteral("Markdown, a file for each page"),
                              QStringLiteral("Markdown, one file")};
    const auto choice = dialogs.choose(title, QStringLiteral("Format:"), formats, m_lastExport.value_or(Dialogs::Choice{0, days}));
    if (!choice || !choice->range)
        return;
    m_lastExport = choice;
    rangeexport::Request request;
    request.format = choice->index == 0 ? rangeexport::Format::Pdf : rangeexport::Format::Markdown;
    request.oneFile = choice->index == 2;
    request.from = choice->range->from;
    request.to = choice->range->to;
    const QString documents = startFolder(QStandardPaths::DocumentsLocation);
    if (request.format == rangeexport::Format::Pdf) {
        const QString suggested = QDir(documents).filePath(
            QStringLiteral("diary %1 to %2.pdf").arg(daykeys::dayKey(request.from), daykeys::dayKey(request.to)));
        request.out = dialogs.saveFile(title, suggested, QStringLiteral("PDF documents (*.pdf)|*.pdf"));
    } else {
        request.out = dialogs.openFolder(title, documents);
    }
    if (request.out.isEmpty())
        return;
    ProgressBox progress(&m_window, QStringLiteral("Exporting..."));
    m_session.moving().exportPages(request, [&](int done, int total) { return progress.update(done, total); });
}

// Encrypting, decrypting and changing an encrypted diary's password pass
// over every file; once begun they are not stopped half way, nor by a lock
// wiping the key they read with while the box takes its events.
void MovingCommands::convertShowingProgress(const QString &label, void (VaultControls::*convert)(const conversion::Progress &))
{
    const QPointer<AutoLock> autoLock = m_lock.autoLock();
    if (autoLock)
        autoLock->blockSignals(true);
    ProgressBox progress(&m_window, label, ProgressBox::Cancel::Hidden);
    (m_session.vault().*convert)([&](int done, int total) { progress.update(done, total); });
    if (autoLock)
        autoLock->blockSignals(false);
}
