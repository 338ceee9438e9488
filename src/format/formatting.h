#pragma once

#include "editor/richtextedit.h"

#include <QColor>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>

class Dialogs;
class QAction;
class QObject;

// The formatting commands of the toolbar, on an editor's selection (or, with
// nothing selected, on what is typed next). A command that changed the
// document makes the editor signal `formatted`, which marks a page changed as
// typing does; one that only set the format of what is typed next does not.
namespace formatting {

// Wholly on becomes off, wholly off becomes on, a mixed selection stays.
std::optional<bool> toggled(RichTextEdit::TriState state);
void toggleBold(RichTextEdit &editor);
void toggleItalic(RichTextEdit &editor);
void toggleUnderline(RichTextEdit &editor);

// The sizes the size list offers: 8 to 72 in steps of 2.
QStringList fontSizes();
// A size typed into the size list, to the half point the page stores: a
// number from 1 to 1638 (the largest the page's reader keeps), else nothing.
std::optional<qreal> typedSize(const QString &text);
// A size as the size list shows it; empty for a selection of mixed sizes (0).
QString sizeText(qreal points);

// Font families as the name list offers them: each once under its plain
// name, without the foundry tag a family installed twice carries, in
// alphabetical order but for `first`, the one a new page is written in.
QStringList plainFamilies(const QStringList &families, const QString &first);

// The system's families, the desktop's own font first.
QStringList fontFamilies();

// The colour dialog keeps the last colour it returned; a cancelled dialog
// gives that colour again, or the default before any choice.
class ColorChooser
{
public:
    explicit ColorChooser(Dialogs &dialogs);
    QColor choose();
    QColor current() const { return m_current; }

private:
    Dialogs &m_dialogs;
    QColor m_current = Qt::black;
};

void colorSelection(RichTextEdit &editor, ColorChooser &chooser);

// Runs `show` whenever the format at the editor's caret or of its selection may have changed.
void followCaret(RichTextEdit &editor, QObject *context, const std::function<void()> &show);

// The toolbar's formatting keys ("Bold", "Align Left", "Color" ...) and
// their actions on `editor`, owned by `owner`; editor and chooser must outlive
// them. Bold, Italic and Underline are checked while the text at the caret,
// or all of the selection, has their attribute; Ctrl+B, Ctrl+I and Ctrl+U
// trigger them while the editor has the focus.
std::map<QString, QAction *> formattingActions(RichTextEdit &editor, ColorChooser &chooser, QObject *owner);

} // namespace formatting
