#include "pagehistorywindow.h"

#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "session/daybook.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "ui/look.h"
#include "richtext/pagecontent.h"
#include "session/diarysession.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

PageHistoryWindow::PageHistoryWindow(DiarySession &session, QWidget *parent)
    : QDialog(parent), tabs(new QTabBar(this)), List1(new QListWidget(this)), rtxt(new RichTextEdit(this)), Label1(new QLabel(this)),
      buttons(new QDialogButtonBox(QDialogButtonBox::Close, this)), m_session(session)
{
    setWindowTitle(QStringLiteral("Page History"));
    setObjectName(QStringLiteral("PageHistory"));
    keepSelectionReadable(*this);
    tabs->addTab(QStringLiteral("&Page"));
    tabs->addTab(QStringLiteral("Yearly &note"));
    tabs->setAccessibleName(QStringLiteral("Versions of"));
    List1->setAccessibleName(QStringLiteral("Versions"));
    rtxt->setReadOnly(true);
    keepPaper(*rtxt);
    rtxt->setAccessibleName(QStringLiteral("The chosen version"));
    QPushButton *restore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("Restore"));

    auto *columns = new QHBoxLayout;
    columns->addWidget(List1, 2);
    columns->addWidget(rtxt, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(Label1);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(760, 460);

    connect(tabs, &QTabBar::currentChanged, this, &PageHistoryWindow::fillList);
    connect(List1, &QListWidget::currentRowChanged, this, &PageHistoryWindow::showChosen);
    connect(restore, &QPushButton::clicked, this, &PageHistoryWindow::restoreChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&session.vault(), &VaultControls::lockChanged, this, [this](bool locked) { locked ? forgetVersions() : recallVersions(); });
    fillList();
}

// Locked, the versions' first lines and the one shown go with the diary's other words.
void PageHistoryWindow::forgetVersions()
{
    m_rowBeforeLock = List1->currentRow();
    List1->clear();
    richtext::forget(*rtxt->document());
}

void PageHistoryWindow::recallVersions()
{
    fillList();
    List1->setCurrentRow(m_rowBeforeLock);
}

bool PageHistoryWindow::showsNote() const
{
    return tabs->currentIndex() == 1;
}

std::optional<QByteArray> PageHistoryWindow::versionBytes(const history::Version &version) const
{
    const DataRoot root = m_session.dataRoot();
    return showsNote() ? notestore::loadFile(root, version.path, root.notePath(m_session.notes().noteDay()))
                       : pagestore::loadFile(root, version.path, root.pagePath(m_session.book().selectedDay()));
}

QString PageHistoryWindow::firstLine(const std::optional<QByteArray> &bytes) const
{
    if (!bytes)
        return history::kDoesNotOpen;
    return showsNote() ? notestore::decodeNote(*bytes).section(QLatin1Char('\n'), 0, 0).simplified() : richtext::firstLine(*bytes);
}

void PageHistoryWindow::fillList()
{
    List1->clear();
    m_versions = showsNote() ? m_session.notes().noteVersions() : m_session.book().pageVersions();
    const QLocale locale;
    for (const history::Version &version : m_versions) {
        auto *item = new QListWidgetItem(locale.toString(version.replaced.toLocalTime(), QLocale::ShortFormat) + QStringLiteral("  ")
                                         + firstLine(versionBytes(version)), List1);
        item->setToolTip(locale.formattedDataSize(version.size));
    }
    if (showsNote())
        Label1->setText(m_versions.isEmpty() ? QStringLiteral("This day's note has no earlier versions.")
                                             : QStringLiteral("Earlier versions of the note %1, newest first:").arg(m_session.notes().noteKey()));
    else
        Label1->setText(m_versions.isEmpty() ? QStringLiteral("This day's page has no earlier versions.")
                                             : QStringLiteral("Earlier versions of %1, newest first:").arg(m_session.book().dayKey()));
    buttons->findChild<QPushButton *>(QStringLiteral("Restore"))->setEnabled(!m_versions.isEmpty());
    List1->setCurrentRow(m_versions.isEmpty() ? -1 : 0);
}

void PageHistoryWindow::showChosen()
{
    const int row = List1->currentRow();
    if (row < 0)
        rtxt->clear();
    else if (showsNote())
        rtxt->setPlainText(notestore::decodeNote(versionBytes(m_versions[row]).value_or(QByteArray())));
    else
        (void)rtxt->loadBytes(versionBytes(m_versions[row]).value_or(QByteArray())); // one too large to show is left empty
}

void PageHistoryWindow::restoreChosen()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    const QString &id = m_versions[row].id;
    if (showsNote() ? m_session.notes().restoreNoteVersion(id) : m_session.book().restorePageVersion(id))
        accept();
}
