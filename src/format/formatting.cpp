#include "formatting.h"

#include "toolbaricons.h"

#include "seams/dialogs.h"
#include "ui/modcenter.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>
#include <functional>

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

std::map<QString, QAction *> formattingActions(RichTextEdit &editor, ColorChooser &chooser, QObject *owner)
{
    RichTextEdit *const target = &editor;
    ColorChooser *const colors = &chooser;
    const std::pair<const char *, std::function<void()>> commands[]{
        {"Align Left", [target] { target->setSelAlignment(Qt::AlignLeft); }},
        {"Align Center", [target] { target->setSelAlignment(Qt::AlignHCenter); }},
        {"Align Right", [target] { target->setSelAlignment(Qt::AlignRight); }},
        {"Bold", [target] { toggleBold(*target); }},
        {"Italic", [target] { toggleItalic(*target); }},
        {"Underline", [target] { toggleUnderline(*target); }},
        {"Color", [target, colors] { colorSelection(*target, *colors); }},
    };
    std::map<QString, QAction *> actions;
    for (const auto &[name, command] : commands) {
        const QString key = QString::fromLatin1(name);
        auto *action = new QAction(toolbarIcon(key), key, owner);
        action->setObjectName(key);
        QObject::connect(action, &QAction::triggered, owner, command);
        actions.emplace(key, action);
    }
    return actions;
}

} // namespace formatting
