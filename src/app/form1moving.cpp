#include "form1.h"

#include "app/autolock.h"
#include "app/progressbox.h"
#include "diary/daykeys.h"
#include "diary/dataroot.h"
#include "seams/dialogs.h"
#include "session/daybook.h"
#include "session/diarymoving.h"
#include "ui/startfolder.h"

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
        const auto day = daykeys::dateFromDayKey(QStringView(name).chopped(std::min(name.size(), kFileSuffix.size())));
        if (!day)
            continue;
        if (!range)
            range = Dialogs::DayRange{*day, *day};
        range->to = *day;
    }
    return range;
}

} // namespace

void Form1::importDiary()
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
    ProgressBox progress(this, QStringLiteral("Importing..."));
    m_session.moving().importDiary(source.source, path, [&](int done, int total) { return progress.update(done, total); });
}

void Form1::exportPages()
{
    Dialogs &dialogs = *m_services.dialogs;
    const QString title = QStringLiteral("Export");
    const auto days = pagedDays(m_session.book().pages());
    if (!days) {
        dialogs.message(QStringLiteral("There are no pages to export."), title, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
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
    ProgressBox progress(this, QStringLiteral("Exporting..."));
    m_session.moving().exportPages(request, [&](int done, int total) { return progress.update(done, total); });
}

// Encrypting, decrypting and changing an encrypted diary's password pass
// over every file; once begun they are not stopped half way, nor by a lock
// wiping the key they read with while the box takes its events.
void Form1::convertShowingProgress(const QString &label, void (VaultControls::*convert)(const conversion::Progress &))
{
    const QPointer<AutoLock> autoLock = m_autoLock;
    if (autoLock)
        autoLock->blockSignals(true);
    ProgressBox progress(this, label, ProgressBox::Cancel::Hidden);
    (m_session.vault().*convert)([&](int done, int total) { progress.update(done, total); });
    if (autoLock)
        autoLock->blockSignals(false);
}
