#pragma once

#include <QObject>
#include <QPoint>
#include <QTextCursor>

#include <memory>

class QMenu;
class QTextEdit;

namespace spelling {

class Service;
class SpellHighlighter;

// Spelling for one editor: the marks, and the suggestions, "Add to
// Dictionary", "Ignore" and the language in its context menu.
class EditorSpelling : public QObject
{
    Q_OBJECT

public:
    EditorSpelling(QTextEdit &editor, Service &service);
    ~EditorSpelling() override;

    SpellHighlighter &highlighter() { return *m_highlighter; }
    // The editor's own context menu at a point of its viewport, the spelling's
    // entries before the editor's and the language after them.
    std::unique_ptr<QMenu> contextMenu(QPoint at);

signals:
    // A suggestion replaced a word: the text changed without a key.
    void corrected();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTextCursor misspeltWordAt(QPoint at) const;
    void addSuggestions(QMenu &menu, const QTextCursor &word);
    void addLanguages(QMenu &menu);

    QTextEdit &m_editor;
    Service &m_service;
    SpellHighlighter *m_highlighter;
};

} // namespace spelling
