#include "frmprint.h"

#include "session/daybook.h"
#include "session/sessiondrafts.h"
#include "session/vaultcontrols.h"
#include "ui/look.h"
#include "ui/designgeometry.h"
#include "printrichtext.h"
#include "editor/richtextedit.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "richtext/pagecontent.h"
#include "session/diarysession.h"
#include "spelling/editorspelling.h"
#include "ui/screenplacement.h"
#include "vault/wipe.h"

#include <QCloseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>

namespace {

constexpr int kToolbarHeight = 420;
// Below this the printer gave no usable page: the window would be a sliver.
constexpr int kSmallestHeight = 300;
constexpr int kPreviewMargin = 360;

} // namespace

Frmprint::Frmprint(DiarySession &session, const printing::PrinterSource &printer, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_printer(printer()), CD(session.dialogs())
{
    setObjectName(QStringLiteral("Frmprint"));
    setWindowTitle(QStringLiteral("Print"));
    setAttribute(Qt::WA_DeleteOnClose);
    keepSelectionReadable(*this);
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    rtxt = new RichTextEdit(this);
    rtxt->setObjectName(QStringLiteral("rtxt"));
    rtxt->setAccessibleName(QStringLiteral("Print preview"));
    keepPaper(*rtxt);
    rtxt->installEventFilter(this);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &Frmprint::printCopy);
    m_draft = session.drafts().keeper(drafts::Kind::PrintCopy, [this] { return DraftKeeper::pageContent(m_session.book().dayKey(), *rtxt->document()); }, this);
    connect(&session.drafts(), &SessionDrafts::ending, m_draft, &DraftKeeper::setAside);
    connect(&session.vault(), &VaultControls::aboutToLock, this, &Frmprint::sealCopy);
    connect(&session.vault(), &VaultControls::lockChanged, this, [this](bool locked) { locked ? forgetCopy() : recallCopy(); });
    buildToolbar();
    Form_Load();
}

Frmprint::~Frmprint() = default;

void Frmprint::Form_Load()
{
    placeInTwips(Command1, 10, 10, 600, 380);
    Command1->setText(QStringLiteral("&Print"));
    Command1->raise();
    // Copied pages bring their own fonts; typing into an empty copy gets this one.
    rtxt->setFont(QFont(QStringLiteral("Arial"), 10));
    m_printer->setPageOrientation(QPageLayout::Portrait);
    const printing::PrinterLayout layout = LayoutForPrinter(*rtxt, *m_printer, QMargins(kPreviewMargin, kPreviewMargin, kPreviewMargin, kPreviewMargin));
    resize(fromTwips(0, 0, layout.lineWidth + 200, layout.pageHeight + 800).size() - (frameGeometry().size() - size()));
    if (height() * kTwipsPerPixel < kSmallestHeight) {
        messages::tell(m_session.dialogs(), messages::previewNotCompatible());
        m_compatible = false;
        hide();
    }
}

// The editor fills the window below the toolbar with a border around it;
// its lines keep the printer's breaks whatever its width.
void Frmprint::Form_Resize()
{
    Toolbar1->setGeometry(0, 0, width(), fromTwips(0, 0, 0, kToolbarHeight).height());
    placeInTwips(rtxt, 100, 500, width() * kTwipsPerPixel - 200, height() * kTwipsPerPixel - 600);
}

void Frmprint::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// A copy replaced before it was stored keeps its draft in the history.
void Frmprint::showCopy(const QByteArray &rtf)
{
    m_draft->setAside();
    rtxt->setTextRtf(rtf);
    if (!m_compatible)
        return;
    // Laid out a printer's page high, it may be taller than the screen: its editor scrolls.
    showOnScreen(*this, parentWidget());
    raise();
    activateWindow();
}

// Characters typed touch the copy; moving about in it does not.
bool Frmprint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rtxt && event->type() == QEvent::KeyPress && !static_cast<QKeyEvent *>(event)->text().isEmpty())
        touch();
    return QWidget::eventFilter(watched, event);
}

// Closing cannot be refused: the question only offers to store the copy
// first. A copy printed or put away was never stored: its draft is kept.
void Frmprint::closeEvent(QCloseEvent *event)
{
    // Locked, the key is gone: the draft already on disk is offered at the next start.
    if (m_session.vault().isLocked()) {
        event->accept();
        return;
    }
    if (printchanged == 0)
        m_draft->setAside();
    else if (m_session.book().askToSaveChanges())
        SavePrintCopy();
    else
        m_draft->settled();
    printchanged = 0;
    event->accept();
}

void Frmprint::checkSpelling(spelling::Service &service)
{
    m_spelling = new spelling::EditorSpelling(*rtxt, service);
    connect(m_spelling, &spelling::EditorSpelling::corrected, this, &Frmprint::touch);
}

void Frmprint::touch()
{
    printchanged = 1;
    m_draft->touched();
}

// The copy is dropped for the lock only once its draft opens again.
void Frmprint::sealCopy()
{
    m_place = rtxt->place();
    m_draftForLockOnly = m_draft->idle();
    m_draft->writeNow();
    std::optional<QByteArray> sealed = m_draft->readBack();
    m_copySealed = sealed.has_value();
    if (sealed)
        wipe(*sealed);
}

void Frmprint::forgetCopy()
{
    if (m_copySealed)
        richtext::forget(*rtxt->document());
}

void Frmprint::recallCopy()
{
    if (!std::exchange(m_copySealed, false))
        return;
    if (std::optional<QByteArray> sealed = m_draft->readBack()) {
        rtxt->setTextRtf(*sealed);
        wipe(*sealed);
    }
    if (m_draftForLockOnly)
        m_draft->settled();
    rtxt->returnTo(m_place);
}

// Stores the copy as the selected day's page. The main window's own
// changed flag is left alone: its page may still hold unsaved typing.
void Frmprint::SavePrintCopy()
{
    printchanged = 0;
    const DayBook::Stored stored = m_session.book().savePrintCopy(*rtxt->document());
    if (stored == DayBook::Stored::Yes)
        m_draft->settled();
    else if (stored == DayBook::Stored::NoText)
        rtxt->setFocus();
}
