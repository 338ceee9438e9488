#include "fontlists.h"

#include "format/formatting.h"
#include "editor/richtextedit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

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

FontLists::FontLists(QComboBox &names, QComboBox &sizes, RichTextEdit &page, QObject *parent)
    : QObject(parent), m_names(names), m_sizes(sizes), m_page(page)
{
    for (QComboBox *list : {&m_names, &m_sizes})
        list->setInsertPolicy(QComboBox::NoInsert);
    connect(&m_names, &QComboBox::currentIndexChanged, this, &FontLists::nameChosen);
    connect(&m_sizes, &QComboBox::currentIndexChanged, this, &FontLists::sizeChosen);
    // A name typed and not chosen from the list changes nothing and is shown no longer.
    connect(m_names.lineEdit(), &QLineEdit::editingFinished, this, &FontLists::showCaretFont);
    connect(m_sizes.lineEdit(), &QLineEdit::editingFinished, this, &FontLists::sizeTyped);
    formatting::followCaret(m_page, this, [this] { showCaretFont(); });
}

void FontLists::fill()
{
    refill(&m_names, formatting::fontFamilies(), 0);
    refill(&m_sizes, formatting::fontSizes(), 1);
    // Every new page starts as the first one of a start does.
    m_page.setNewPageFont(m_names.itemText(0), m_sizes.itemText(1).toDouble());
    // The field keeps its designed width; its list opens wide enough for every name.
    QAbstractItemView *names = m_names.view();
    names->setMinimumWidth(names->sizeHintForColumn(0) + names->verticalScrollBar()->sizeHint().width() + 2 * names->frameWidth());
}

void FontLists::nameChosen()
{
    if (m_names.currentIndex() < 0)
        return;
    m_page.setSelFontName(m_names.currentText());
}

void FontLists::sizeChosen()
{
    if (const auto points = formatting::typedSize(m_sizes.currentText()))
        m_page.setSelFontSize(*points);
}

// Enter or leaving the field: a new size is applied, anything else gives way
// to the selection's size again. Leaving it unchanged changes nothing, so a
// page is not marked changed by a visit to the field.
void FontLists::sizeTyped()
{
    const auto points = formatting::typedSize(m_sizes.currentText());
    if (points && *points != m_page.selFontSize())
        m_page.setSelFontSize(*points);
    showCaretFont();
}

// The lists show the font at the caret, or the selection's; a mixed one leaves a field empty.
void FontLists::showCaretFont()
{
    showInList(&m_names, m_page.selFontName());
    showInList(&m_sizes, formatting::sizeText(m_page.selFontSize()));
}
