#include "form1.h"

#include "format/formatting.h"
#include "format/toolbaricons.h"
#include "editor/richtextedit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>

#include <array>

namespace {

// The buttons from left to right; an empty key is a separator.
constexpr std::array kToolbarKeys{"New", "Open", "Save", "Search", "Picture", "Print", "", "Delete", "", "Bold", "Italic",
                                  "Underline", "", "Align Left", "Align Center", "Align Right", "", "Color", "", "Help"};

// Fills a list and selects an entry, so that its selection handling runs once.
void refill(QComboBox *list, const QStringList &entries, int selected)
{
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    }
    list->setCurrentIndex(selected);
}

} // namespace

void Form1::buildToolbar()
{
    Toolbar1->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    for (const char *key : kToolbarKeys) {
        const QString name = QString::fromLatin1(key);
        if (name.isEmpty()) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction *button = Toolbar1->addAction(toolbarIcon(name), QString());
        button->setToolTip(name);
        button->setObjectName(name);
        QWidget *widget = Toolbar1->widgetForAction(button);
        widget->setObjectName(name);
        widget->setAccessibleName(name);
        connect(button, &QAction::triggered, this, [this, name] { Toolbar1_ButtonClick(name); });
    }
    m_toolbarCommands = {
        {QStringLiteral("New"), [this] { NewPage(); }},
        {QStringLiteral("Open"), [this] { showOpenPanel(); }},
        {QStringLiteral("Save"), [this] { SavePage(); }},
        {QStringLiteral("Delete"), [this] { DeletePage(); }},
        {QStringLiteral("Search"), [this] { showSearchPanel(); }},
        {QStringLiteral("Picture"), [this] { m16->trigger(); }},
        {QStringLiteral("Print"), [this] { m17->trigger(); }},
        {QStringLiteral("Help"), [this] { m14_Click(); }},
    };
    m_toolbarCommands.merge(formatting::formattingCommands(*rtxt2, m_colorChooser));
    for (QComboBox *list : {cmbFontName, cmbFontSize})
        list->setInsertPolicy(QComboBox::NoInsert);
    connect(cmbFontName, &QComboBox::currentIndexChanged, this, &Form1::cmbFontName_Click);
    connect(cmbFontSize, &QComboBox::currentIndexChanged, this, &Form1::cmbFontSize_Click);
}

void Form1::Toolbar1_ButtonClick(const QString &key)
{
    const auto command = m_toolbarCommands.find(key);
    if (command != m_toolbarCommands.end())
        command->second();
}

void Form1::fillFontLists()
{
    refill(cmbFontName, formatting::fontFamilies(), 0);
    refill(cmbFontSize, formatting::fontSizes(), 1);
    // The field keeps its designed width; its list opens wide enough for every name.
    QAbstractItemView *names = cmbFontName->view();
    names->setMinimumWidth(names->sizeHintForColumn(0) + names->verticalScrollBar()->sizeHint().width() + 2 * names->frameWidth());
}

void Form1::cmbFontName_Click()
{
    if (cmbFontName->currentIndex() < 0)
        return;
    rtxt2->setSelFontName(cmbFontName->currentText());
    refill(cmbFontSize, formatting::fontSizes(), 1);
}

void Form1::cmbFontSize_Click()
{
    bool numeric = false;
    const double points = cmbFontSize->currentText().toDouble(&numeric);
    if (numeric && points > 0)
        rtxt2->setSelFontSize(points);
}
