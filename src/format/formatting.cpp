#include "formatting.h"

#include "toolbaricons.h"

#include "seams/dialogs.h"
#include "ui/modcenter.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace formatting {

std::optional<bool> toggled(RichTextEdit::TriState state)
{
    switch (state) {
    case RichTextEdit::TriState::On:
        return false;
    case RichTextEdit::TriState::Off:
        return true;
    case RichTextEdit::TriState::Mixed:
        break;
    }
    return std::nullopt;
}

void toggleBold(RichTextEdit &editor)
{
    if (const auto on = toggled(editor.selBold()))
        editor.setSelBold(*on);
}

void toggleItalic(RichTextEdit &editor)
{
    if (const auto on = toggled(editor.selItalic()))
        editor.setSelItalic(*on);
}

void toggleUnderline(RichTextEdit &editor)
{
    if (const auto on = toggled(editor.selUnderline()))
        editor.setSelUnderline(*on);
}

QStringList fontSizes()
{
    QStringList sizes;
    for (int points = 8; points <= 72; points += 2)
        sizes.append(QString::number(points));
    return sizes;
}

std::optional<qreal> typedSize(const QString &text)
{
    constexpr qreal kSmallest = 1;
    constexpr qreal kLargest = 1638;
    bool numeric = false;
    const qreal points = QLocale().toDouble(text.trimmed(), &numeric);
    if (!numeric || points < kSmallest || points > kLargest)
        return std::nullopt;
    return std::round(points * 2) / 2;
}

QString sizeText(qreal points)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return points > 0 ? locale.toString(points) : QString();
}

QStringList plainFamilies(const QStringList &families, const QString &first)
{
    QStringList names;
    for (const QString &family : families) {
        const qsizetype tag = family.endsWith(QLatin1Char(']')) ? family.lastIndexOf(QLatin1String(" [")) : -1;
        names.append(tag < 0 ? family : family.left(tag));
    }
    names.removeDuplicates();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    if (names.removeOne(first))
        names.prepend(first);
    return names;
}

QStringList fontFamilies()
{
    return plainFamilies(QFontDatabase::families(), QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family());
}

ColorChooser::ColorChooser(Dialogs &dialogs) : m_dialogs(dialogs) {}

QColor ColorChooser::choose()
{
    const CenteringBracket centred;
    const auto chosen = m_dialogs.color(Dialogs::PreselectCurrent | Dialogs::CustomColorsOpen, m_current);
    if (chosen)
        m_current = *chosen;
    return m_current;
}

void colorSelection(RichTextEdit &editor, ColorChooser &chooser)
{
    editor.setSelColor(chooser.choose());
}

void followCaret(RichTextEdit &editor, QObject *context, const std::function<void()> &show)
{
    // A format change at the caret, or a selection that grows over other text.
    QObject::connect(&editor, &QTextEdit::currentCharFormatChanged, context, show);
    QObject::connect(&editor, &QTextEdit::selectionChanged, context, show);
}

namespace {

using State = RichTextEdit::TriState (RichTextEdit::*)() const;

struct Command
{
    const char *name;
    std::function<void()> run;
    QKeyCombination key = {};
    State state = nullptr;
};

// Checked for text that wholly has the attribute; a click on a mixed
// selection changes nothing, yet Qt has flipped the check, so it is shown again.
void showAttribute(RichTextEdit &editor, QAction *action, State state)
{
    action->setCheckable(true);
    const auto show = [&editor, action, state] { action->setChecked((editor.*state)() == RichTextEdit::TriState::On); };
    followCaret(editor, action, show);
    QObject::connect(action, &QAction::triggered, action, show);
    show();
}

// The keys act on the editor that has the focus: from the note's editor
// Ctrl+B would bold the page's selection unseen.
void giveKey(RichTextEdit &editor, QAction *action, QKeyCombination key)
{
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    editor.addAction(action);
}

} // namespace

std::map<QString, QAction *> formattingActions(RichTextEdit &editor, ColorChooser &chooser, QObject *owner)
{
    RichTextEdit *const target = &editor;
    ColorChooser *const colors = &chooser;
    const Command commands[]{
        {"Align Left", [target] { target->setSelAlignment(Qt::AlignLeft); }},
        {"Align Center", [target] { target->setSelAlignment(Qt::AlignHCenter); }},
        {"Align Right", [target] { target->setSelAlignment(Qt::AlignRight); }},
        {"Bold", [target] { toggleBold(*target); }, Qt::CTRL | Qt::Key_B, &RichTextEdit::selBold},
        {"Italic", [target] { toggleItalic(*target); }, Qt::CTRL | Qt::Key_I, &RichTextEdit::selItalic},
        {"Underline", [target] { toggleUnderline(*target); }, Qt::CTRL | Qt::Key_U, &RichTextEdit::selUnderline},
        {"Color", [target, colors] { colorSelection(*target, *colors); }},
    };
    std::map<QString, QAction *> actions;
    for (const Command &command : commands) {
        const QString key = QString::fromLatin1(command.name);
        auto *action = new QAction(toolbarIcon(key), key, owner);
        action->setObjectName(key);
        QObject::connect(action, &QAction::triggered, owner, command.run);
        if (command.state) {
            showAttribute(editor, action, command.state);
            giveKey(editor, action, command.key);
        }
        actions.emplace(key, action);
    }
    return actions;
}

} // namespace formatting
