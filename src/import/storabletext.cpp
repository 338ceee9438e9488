#include "storabletext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

namespace diaryimport {

namespace {

QString bulletText(const QTextBlock &block, const QTextList &list)
{
    switch (block.blockFormat().marker()) {
    case QTextBlockFormat::MarkerType::Checked:
        return QStringLiteral("\u2611 ");
    case QTextBlockFormat::MarkerType::Unchecked:
        return QStringLiteral("\u2610 ");
    case QTextBlockFormat::MarkerType::NoMarker:
        break;
    }
    switch (list.format().style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u2022 ");
    default:
        return list.itemText(block) + QLatin1Char(' ');
    }
}

// Each item's text is read before any item leaves its list, since the
// numbers count the items still in it.
void listsAsText(QTextDocument &document)
{
    std::vector<std::pair<QTextBlock, QString>> items;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const QTextList *list = block.textList())
            items.emplace_back(block, bulletText(block, *list));
    }
    for (const auto &[block, bullet] : items) {
        block.textList()->remove(block);
        QTextCursor(block).insertText(bullet, block.charFormat());
    }
}

// Removing a block from its list leaves the list's depth as the block's
// indent, which RTF keeps only as a margin. Qt's Markdown reader can leave a
// task item's check marker on the paragraphs after the list, where it means
// nothing. A rule stays a rule, which the page's RTF keeps.
void indentsAsMargins(QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (format.indent() == 0 && format.marker() == QTextBlockFormat::MarkerType::NoMarker)
            continue;
        format.setLeftMargin(format.leftMargin() + format.indent() * document.indentWidth());
        format.setIndent(0);
        format.clearProperty(QTextFormat::BlockMarker);
        QTextCursor(block).setBlockFormat(format);
    }
}

// Formats are changed once every fragment is known, since a change can
// join fragments under a running iterator.
void reformat(QTextDocument &document, const std::function<std::optional<QTextCharFormat>(QTextCharFormat)> &change)
{
    std::vector<std::tuple<int, int, QTextCharFormat>> changed;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (auto format = change(fragment.charFormat()))
                changed.emplace_back(fragment.position(), fragment.position() + fragment.length(), *format);
        }
    }
    QTextCursor cursor(&document);
    for (const auto &[start, end, format] : changed) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

std::optional<QTextCharFormat> withoutLink(QTextCharFormat format)
{
    if (!format.isAnchor() && !format.hasProperty(QTextFormat::AnchorHref))
        return std::nullopt;
    format.clearProperty(QTextFormat::IsAnchor);
    format.clearProperty(QTextFormat::AnchorHref);
    format.clearProperty(QTextFormat::AnchorName);
    return format;
}

bool showsAddress(const QString &label, const QString &address)
{
    return !address.isEmpty() && label != address && QStringLiteral("mailto:") + label != address;
}

struct Link
{
    int start = 0;
    int end = 0;
    QString address;
};

// A link made of several runs (a bold word inside it) is one link.
std::vector<Link> linksOf(const QTextDocument &document)
{
    std::vector<Link> links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor())
                continue;
            const int end = fragment.position() + fragment.length();
            if (!links.empty() && links.back().end == fragment.position() && links.back().address == format.anchorHref())
                links.back().end = end;
            else
                links.push_back({fragment.position(), end, format.anchorHref()});
        }
    }
    return links;
}

// From the last link back, so the earlier links' places stay where they were.
void linksAsText(QTextDocument &document)
{
    const std::vector<Link> links = linksOf(document);
    reformat(document, withoutLink);
    // Reverse iterators, not a reversed view: clang 14 cannot compile those with this libstdc++.
    for (auto link = links.crbegin(); link != links.crend(); ++link) {
        QTextCursor label(&document);
        label.setPosition(link->start);
        label.setPosition(link->end, QTextCursor::KeepAnchor);
        if (showsAddress(label.selectedText(), link->address)) {
            label.clearSelection();
            label.insertText(QStringLiteral(" (%1)").arg(link->address));
        }
    }
}

// Qt's own scale for a font size adjustment, from -2 to +4.
qreal adjustedPoints(int adjustment, qreal points)
{
    static constexpr std::array<qreal, 7> kScale{0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
    return points * kScale[std::clamp(adjustment + 2, 0, int(kScale.size()) - 1)];
}

std::optional<QTextCharFormat> inPoints(QTextCharFormat format, qreal points)
{
    if (!format.hasProperty(QTextFormat::FontSizeAdjustment))
        return std::nullopt;
    if (format.fontPointSize() <= 0)
        format.setFontPointSize(adjustedPoints(format.intProperty(QTextFormat::FontSizeAdjustment), points));
    format.clearProperty(QTextFormat::FontSizeAdjustment);
    return format;
}

// A paragraph's own format too, since copying a heading's would warn again.
void sizesAsPoints(QTextDocument &document)
{
    const qreal points = document.defaultFont().pointSizeF() > 0 ? document.defaultFont().pointSizeF() : kPagePoints;
    reformat(document, [points](const QTextCharFormat &format) { return inPoints(format, points); });
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const auto format = inPoints(block.charFormat(), points))
            QTextCursor(block).setBlockCharFormat(*format);
    }
}

} // namespace

void sizeDefaultFont(QTextDocument &document)
{
    QFont font = document.defaultFont();
    if (font.pointSizeF() <= 0) {
        font.setPointSizeF(kPagePoints);
        document.setDefaultFont(font);
    }
}

void makeStorable(QTextDocument &document)
{
    listsAsText(document);
    indentsAsMargins(document);
    linksAsText(document);
    sizesAsPoints(document);
}

} // namespace diaryimport
