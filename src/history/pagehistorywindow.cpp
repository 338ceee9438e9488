#include "pagehistorywindow.h"

#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "ui/look.h"
#include "richtext/pagecontent.h"
#include "session/diarysession.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QByteArray versionRtf(const DiarySession &session, const history::Version &version)
{
    const DataRoot root = session.dataRoot();
    return pagestore::loadFile(root, version.path, root.pagePath(session.dayKey())).value_or(QByteArray());
}

} // namespace

PageHistoryWindow::PageHistoryWindow(DiarySession &session, QWidget *parent)
    : QDialog(parent), List1(new QListWidget(this)), rtxt(new RichTextEdit(this)), Label1(new QLabel(this)),
      buttons(new QDialogButtonBox(QDialogButtonBox::Close, this)), m_session(session)
{
    setWindowTitle(QStringLiteral("Page History"));
    setObjectName(QStringLiteral("PageHistory"));
    keepSelectionReadable(*this);
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
    layout->addWidget(Label1);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(760, 460);

    connect(List1, &QListWidget::currentRowChanged, this, &PageHistoryWindow::showChosen);
    connect(restore, &QPushButton::clicked, this, &PageHistoryWindow::restoreChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    fillList();
}

void PageHistoryWindow::fillList()
{
    m_versions = m_session.pageVersions();
    const QLocale locale;
    for (const history::Version &version : m_versions) {
        auto *item = new QListWidgetItem(locale.toString(version.replaced.toLocalTime(), QLocale::ShortFormat) + QStringLiteral("  ")
                                         + richtext::firstLine(versionRtf(m_session, version)), List1);
        item->setToolTip(locale.formattedDataSize(version.size));
    }
    Label1->setText(m_versions.isEmpty() ? QStringLiteral("This day's page has no earlier versions.")
                                         : QStringLiteral("Earlier versions of %1, newest first:").arg(m_session.dayKey()));
    buttons->findChild<QPushButton *>(QStringLiteral("Restore"))->setEnabled(!m_versions.isEmpty());
    List1->setCurrentRow(m_versions.isEmpty() ? -1 : 0);
}

void PageHistoryWindow::showChosen()
{
    const int row = List1->currentRow();
    if (row < 0)
        rtxt->clear();
    else
        rtxt->loadBytes(versionRtf(m_session, m_versions[row]));
}

void PageHistoryWindow::restoreChosen()
{
    const int row = List1->currentRow();
    if (row >= 0 && m_session.restorePageVersion(m_versions[row].id))
        accept();
}
