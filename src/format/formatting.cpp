#include "formatting.h"

#include "seams/dialogs.h"
#include "ui/modcenter.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>

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

std::map<QString, std::function<void()>> formattingCommands(RichTextEdit &editor, ColorChooser &chooser)
{
    RichTextEdit *const target = &editor;
    ColorChooser *const colors = &chooser;
    return {
        {QStringLiteral("Align Left"), [target] { target->setSelAlignment(Qt::AlignLeft); }},
        {QStringLiteral("Align Center"), [target] { target->setSelAlignment(Qt::AlignHCenter); }},
        {QStringLiteral("Align Right"), [target] { target->setSelAlignment(Qt::AlignRight); }},
        {QStringLiteral("Bold"), [target] { toggleBold(*target); }},
        {QStringLiteral("Italic"), [target] { toggleItalic(*target); }},
        {QStringLiteral("Underline"), [target] { toggleUnderline(*target); }},
        {QStringLiteral("Color"), [target, colors] { colorSelection(*target, *colors); }},
    };
}

} // namespace formatting
