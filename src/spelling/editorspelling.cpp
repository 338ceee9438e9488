#include "editorspelling.h"

#include "service.h"
#include "spellhighlighter.h"
#include "words.h"

#include "richtext/unchecked.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextEdit>

namespace spelling {

EditorSpelling::EditorSpelling(QTextEdit &editor, Service &service)
    : QObject(&editor), m_editor(editor), m_service(service), m_highlighter(new SpellHighlighter(*editor.document(), service, this))
{
    m_editor.viewport()->installEventFilter(this);
    m_editor.installEventFilter(this);
}

EditorSpelling::~EditorSpelling() = default;

// A mouse asks on the viewport; the menu key asks the editor itself, at the caret.
bool EditorSpelling::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu)
        return false;
    const auto *request = static_cast<QContextMenuEvent *>(event);
    const bool keyboard = request->reason() == QContextMenuEvent::Keyboard;
    if (watched != (keyboard ? static_cast<QObject *>(&m_editor) : m_editor.viewport()))
        return false;
    const QPoint at = keyboard ? m_editor.cursorRect().center() : request->pos();
    contextMenu(at)->exec(m_editor.viewport()->mapToGlobal(at));
    return true;
}

std::unique_ptr<QMenu> EditorSpelling::contextMenu(QPoint at)
{
    std::unique_ptr<QMenu> menu(m_editor.createStandardContextMenu(at));
    if (const QTextCursor word = misspeltWordAt(at); word.hasSelection())
        addSuggestions(*menu, word);
    menu->addSeparator();
    addLanguages(*menu);
    return menu;
}

QTextCursor EditorSpelling::misspeltWordAt(QPoint at) const
{
    const QTextCursor place = m_editor.cursorForPosition(at);
    const QTextBlock block = place.block();
    const QString text = block.text();
    for (const Word &word : wordsOf(text)) {
        const qsizetype offset = place.positionInBlock();
        if (offset < word.start || offset > word.start + word.length)
            continue;
        if (!m_service.isMisspelt(text.mid(word.start, word.length)))
            break;
        QTextCursor selected(block);
        selected.setPosition(block.position() + int(word.start));
        selected.setPosition(block.position() + int(word.start + word.length), QTextCursor::KeepAnchor);
        // A word the marks pass over is offered nothing either.
        return richtext::isUnchecked(selected.charFormat()) ? QTextCursor() : selected;
    }
    return {};
}

void EditorSpelling::addSuggestions(QMenu &menu, const QTextCursor &word)
{
    QAction *first = menu.actions().value(0);
    const QString spelt = word.selectedText();
    const QStringList suggestions = m_service.suggestions(spelt);
    for (const QString &suggestion : suggestions) {
        QAction *action = new QAction(suggestion, &menu);
        connect(action, &QAction::triggered, this, [this, word, suggestion] {
            QTextCursor replaced = word;
            replaced.insertText(suggestion);
            emit corrected();
        });
        menu.insertAction(first, action);
    }
    if (suggestions.isEmpty()) {
        QAction *none = new QAction(QStringLiteral("No suggestions"), &menu);
        none->setEnabled(false);
        menu.insertAction(first, none);
    }
    menu.insertSeparator(first);
    QAction *add = new QAction(QStringLiteral("Add to Dictionary"), &menu);
    connect(add, &QAction::triggered, this, [this, spelt] { (void)m_service.addToDictionary(spelt); });
    QAction *ignore = new QAction(QStringLiteral("Ignore"), &menu);
    connect(ignore, &QAction::triggered, this, [this, spelt] { m_service.ignore(spelt); });
    menu.insertActions(first, {add, ignore});
    menu.insertSeparator(first);
}

void EditorSpelling::addLanguages(QMenu &menu)
{
    QMenu *languages = menu.addMenu(QStringLiteral("Spelling Language"));
    if (m_service.dictionaries().isEmpty()) {
        languages->addAction(QStringLiteral("No dictionaries installed"))->setEnabled(false);
        return;
    }
    auto *group = new QActionGroup(languages);
    for (const Dictionary &dictionary : m_service.dictionaries()) {
        QAction *action = languages->addAction(displayName(dictionary));
        action->setCheckable(true);
        action->setChecked(dictionary.name == m_service.language());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, name = dictionary.name] { m_service.setLanguage(name); });
    }
}

} // namespace spelling
