#include "frmprint.h"

#include "format/formatting.h"
#include "ui/designgeometry.h"
#include "format/toolbaricons.h"
#include "printrichtext.h"

#include <QToolBar>

#include <array>

namespace {

struct ToolbarKey
{
    const char *key;
    const char *toolTip;
    const char *icon;
};

// The buttons from left to right; a key of nullptr is a separator. Two keys
// show another name than their own: "Delete" only puts the window away.
constexpr std::array<ToolbarKey, 15> kToolbarKeys{{
    {"Save", "Save", "Save"},
    {nullptr, nullptr, nullptr},
    {"Print", "Print", "Print"},
    {nullptr, nullptr, nullptr},
    {"Align Left", "Align Left", "Align Left"},
    {"Align Center", "Align Center", "Align Center"},
    {"Align Right", "Right Align", "Align Right"},
    {nullptr, nullptr, nullptr},
    {"Bold", "Bold", "Bold"},
    {"Italic", "Italic", "Italic"},
    {"Underline", "Underline", "Underline"},
    {nullptr, nullptr, nullptr},
    {"Color", "Color", "Color"},
    {nullptr, nullptr, nullptr},
    {"Delete", "Close", "Close"},
}};

constexpr int kPrintMargin = 1440;

} // namespace

void Frmprint::buildToolbar()
{
    Toolbar1->setIconSize(QSize(16, 16));
    // "&Print" sits over the toolbar's left end; the keys start beside it so every one stays within reach.
    auto *besidePrint = new QWidget(Toolbar1);
    besidePrint->setFixedWidth(fromTwips(0, 0, 620, 0).width());
    Toolbar1->addWidget(besidePrint);
    for (const ToolbarKey &entry : kToolbarKeys) {
        if (!entry.key) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(entry.key);
        QAction *button = Toolbar1->addAction(toolbarIcon(QString::fromLatin1(entry.icon)), QString());
        button->setToolTip(QString::fromLatin1(entry.toolTip));
        button->setObjectName(key);
        Toolbar1->widgetForAction(button)->setObjectName(key);
        Toolbar1->widgetForAction(button)->setAccessibleName(button->toolTip());
        connect(button, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    m_commands = formatting::formattingCommands(*rtxt, CD);
    m_commands.emplace(QStringLiteral("Save"), [this] { SavePrintCopy(); });
    m_commands.emplace(QStringLiteral("Print"), [this] { printCopy(); });
    m_commands.emplace(QStringLiteral("Delete"), [this] { putAway(); });
}

// Any key marks the copy as touched, even one that only formats it.
void Frmprint::Toolbar1_ButtonClick(const QString &key)
{
    printchanged = 1;
    const auto command = m_commands.find(key);
    if (command != m_commands.end())
        command->second();
}

// What was printed counts as dealt with, even when the printing is cancelled or fails.
void Frmprint::printCopy()
{
    printchanged = 0;
    if (printing::nameOutputFile(*m_printer, *m_services.dialogs, m_services.dayKey()))
        PrintRichText(*rtxt, *m_printer, *m_services.dialogs, kPrintMargin, kPrintMargin, kPrintMargin, kPrintMargin);
}

// The window keeps its copy until the next "Print" replaces it.
void Frmprint::putAway()
{
    printchanged = 0;
    hide();
}
