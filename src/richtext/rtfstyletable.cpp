#include "rtfstyletable.h"

#include "unchecked.h"

#include <QTextBlock>
#include <QTextDocument>

namespace richtext {

namespace {
// Without a windowing system there is no default font; every reader knows this one.
const QString kFallbackFamily = QStringLiteral("Arial");
}

StyleTable::StyleTable(const QTextDocument &document)
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family().isEmpty() ? kFallbackFamily : font.family();
    if (font.pointSizeF() > 0)
        m_defaultPoints = font.pointSizeF();
    m_fonts.append(m_defaultFamily);
    m_fontIndex.insert(m_defaultFamily, 0);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        add(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it)
            add(it.fragment().charFormat());
    }
}

void StyleTable::add(const QTextCharFormat &format)
{
    const QString name = family(format);
    if (!m_fontIndex.contains(name)) {
        m_fontIndex.insert(name, int(m_fonts.size()));
        m_fonts.append(name);
    }
    for (const auto property : {QTextFormat::ForegroundBrush, QTextFormat::BackgroundBrush}) {
        const auto found = color(format, property);
        if (found && !m_colorIndex.contains(found->rgb())) {
            m_colors.append(*found);
            m_colorIndex.insert(found->rgb(), int(m_colors.size()));
        }
    }
}

RunStyle StyleTable::style(const QTextCharFormat &format) const
{
    RunStyle style;
    style.font = m_fontIndex.value(family(format));
    const qreal points = format.fontPointSize() > 0 ? format.fontPointSize() : m_defaultPoints;
    style.halfPoints = std::max(1, qRound(points * 2));
    style.bold = format.fontWeight() >= QFont::DemiBold;
    style.italic = format.fontItalic();
    style.underline = format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline;
    style.strike = format.fontStrikeOut();
    style.unchecked = isUnchecked(format);
    if (const auto found = color(format, QTextFormat::ForegroundBrush))
        style.foreground = m_colorIndex.value(found->rgb());
    if (const auto found = color(format, QTextFormat::BackgroundBrush))
        style.background = m_colorIndex.value(found->rgb());
    return style;
}

// A semicolon would end the font table entry early.
QString StyleTable::family(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    QString name = families.isEmpty() ? QString() : families.constFirst();
    name.remove(QLatin1Char(';'));
    return name.trimmed().isEmpty() ? m_defaultFamily : name;
}

std::optional<QColor> StyleTable::color(const QTextCharFormat &format, QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return std::nullopt;
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color();
}

} // namespace richtext
