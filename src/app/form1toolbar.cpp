#include "form1.h"

#include "format/formatting.h"
#include "format/toolbaricons.h"
#include "editor/richtextedit.h"
#include "ui/toolbarkeys.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>

namespace {

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

// Shows a text in a list, selecting its entry when it has one, without running the list's handler.
void showInList(QComboBox *list, const QString &text)
{
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(list->findText(text));
    list->setEditText(text);
}

} // namespace

// The buttons from left to right share their actions with the menus.
void Form1::buildToolbar()
{
    openPanel = new QAction(QStringLiteral("Open"), this);
    const auto key = [](const char *name, QAction *action) {
        action->setIcon(toolbarIcon(QString::fromLatin1(name)));
        return ToolbarKey{QString::fromLatin1(name), action, {}};
    };
    const auto formats = formatting::formattingActions(*rtxt2, m_colorChooser, this);
    const auto format = [&](const char *name) { return ToolbarKey{QString::fromLatin1(name), formats.at(QString::fromLatin1(name)), {}}; };
    Toolbar1->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    addToolbarKeys(*Toolbar1, {key("New", m15), key("Open", openPanel), key("Save", m2), key("Search", m5), key("Picture", m16),
                               key("Print", m17), {}, key("Delete", m4), {}, format("Bold"), format("Italic"), format("Underline"), {},
                               format("Align Left"), format("Align Center"), format("Align Right"), {}, format("Color"), {},
                               key("Help", m14)});
    for (QComboBox *list : {cmbFontName, cmbFontSize})
        list->setInsertPolicy(QComboBox::NoInsert);
    connect(cmbFontName, &QComboBox::currentIndexChanged, this, &Form1::cmbFontName_Click);
    connect(cmbFontSize, &QComboBox::currentIndexChanged, this, &Form1::cmbFontSize_Click);
    // A name typed and not chosen from the list changes nothing and is shown no longer.
    connect(cmbFontName->lineEdit(), &QLineEdit::editingFinished, this, &Form1::showCaretFont);
    connect(cmbFontSize->lineEdit(), &QLineEdit::editingFinished, this, &Form1::fontSizeTyped);
    formatting::followCaret(*rtxt2, this, [this] { showCaretFont(); });
}

void Form1::fillFontLists()
{
    refill(cmbFontName, formatting::fontFamilies(), 0);
    refill(cmbFontSize, formatting::fontSizes(), 1);
    // Every new page starts as the first one of a start does.
    rtxt2->setNewPageFont(cmbFontName->itemText(0), cmbFontSize->itemText(1).toDouble());
    // The field keeps its designed width; its list opens wide enough for every name.
    QAbstractItemView *names = cmbFontName->view();
    names->setMinimumWidth(names->sizeHintForColumn(0) + names->verticalScrollBar()->sizeHint().width() + 2 * names->frameWidth());
}

void Form1::cmbFontName_Click()
{
    if (cmbFontName->currentIndex() < 0)
        return;
    rtxt2->setSelFontName(cmbFontName->currentText());
}

void Form1::cmbFontSize_Click()
{
    if (const auto points = formatting::typedSize(cmbFontSize->currentText()))
        rtxt2->setSelFontSize(*points);
}

// Enter or leaving the field: a new size is applied, anything else gives way
// to the selection's size again. Leaving it unchanged changes nothing, so a
// page is not marked changed by a visit to the field.
void Form1::fontSizeTyped()
{
    const auto points = formatting::typedSize(cmbFontSize->currentText());
    if (points && *points != rtxt2->selFontSize())
        rtxt2->setSelFontSize(*points);
    showCaretFont();
}

// The lists show the font at the caret, or the selection's; a mixed one leaves a field empty.
void Form1::showCaretFont()
{
    showInList(cmbFontName, rtxt2->selFontName());
    showInList(cmbFontSize, formatting::sizeText(rtxt2->selFontSize()));
}
