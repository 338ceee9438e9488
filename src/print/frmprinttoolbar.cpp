#include "frmprint.h"

#include "format/formatting.h"
#include "session/daybook.h"
#include "ui/designgeometry.h"
#include "format/toolbaricons.h"
#include "printrichtext.h"
#include "seams/dialogs.h"
#include "session/diarysession.h"
#include "spelling/editorspelling.h"
#include "spelling/spellhighlighter.h"
#include "ui/toolbarkeys.h"

#include <QToolBar>


namespace {

constexpr int kPrintMargin = 1440;

} // namespace

// Any key marks the copy as touched, even one that only formats it.
void Frmprint::buildToolbar()
{
    Toolbar1->setIconSize(QSize(16, 16));
    // "&Print" sits over the toolbar's left end; the keys start beside it so every one stays within reach.
    auto *besidePrint = new QWidget(Toolbar1);
    besidePrint->setFixedWidth(fromTwips(0, 0, 620, 0).width());
    Toolbar1->addWidget(besidePrint);
    const auto formats = formatting::formattingActions(*rtxt, CD, this);
    for (const auto &entry : formats)
        connect(entry.second, &QAction::triggered, this, [this] { touch(); });
    const auto format = [&](const char *key, const char *toolTip = "") {
        return ToolbarKey{QString::fromLatin1(key), formats.at(QString::fromLatin1(key)), QString::fromLatin1(toolTip)};
    };
    // Two keys show another name than their own: "Delete" only puts the window away.
    addToolbarKeys(*Toolbar1, {{QStringLiteral("Save"), command("Save", &Frmprint::SavePrintCopy)}, {},
                               {QStringLiteral("Print"), command("Print", &Frmprint::printCopy)}, {}, format("Align Left"),
                               format("Align Center"), format("Align Right", "Right Align"), {}, format("Bold"), format("Italic"),
                               format("Underline"), {}, format("Color"), {},
                               {QStringLiteral("Delete"), command("Close", &Frmprint::putAway), QStringLiteral("Close")}});
}

QAction *Frmprint::command(const char *icon, void (Frmprint::*slot)())
{
    auto *action = new QAction(toolbarIcon(QString::fromLatin1(icon)), QString(), this);
    connect(action, &QAction::triggered, this, [this] { touch(); });
    connect(action, &QAction::triggered, this, slot);
    return action;
}

// What was printed counts as dealt with, even when the printing is cancelled or fails.
void Frmprint::printCopy()
{
    printchanged = 0;
    if (!printing::nameOutputFile(*m_printer, m_session.dialogs(), m_session.book().dayKey()))
        return;
    const spelling::MarksHidden unmarked(m_spelling ? &m_spelling->highlighter() : nullptr);
    PrintRichText(*rtxt, *m_printer, m_session.dialogs(), QMargins(kPrintMargin, kPrintMargin, kPrintMargin, kPrintMargin));
}

// The window keeps its copy until the next "Print" replaces it.
void Frmprint::putAway()
{
    printchanged = 0;
    hide();
}
