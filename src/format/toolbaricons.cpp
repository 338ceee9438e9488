#include "toolbaricons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

const QColor kInk(0x2f, 0x3e, 0x5c);

using Drawing = std::function<void(QPainter &)>;

void letter(QPainter &painter, const QString &text, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(17);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
}

void lines(QPainter &painter, Qt::Alignment alignment)
{
    for (int row = 0; row < 4; ++row) {
        const int width = row % 2 ? 12 : 18;
        const int left = alignment == Qt::AlignLeft ? 3 : alignment == Qt::AlignRight ? 21 - width : 12 - width / 2;
        painter.drawLine(left, 5 + row * 5, left + width, 5 + row * 5);
    }
}

void sheet(QPainter &painter)
{
    QPainterPath path;
    path.moveTo(5, 2);
    path.lineTo(14, 2);
    path.lineTo(19, 7);
    path.lineTo(19, 22);
    path.lineTo(5, 22);
    path.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

const QHash<QString, std::pair<QString, Drawing>> &drawings()
{
    static const QHash<QString, std::pair<QString, Drawing>> table{
        {QStringLiteral("New"), {QStringLiteral("document-new"), [](QPainter &p) { sheet(p); }}},
        {QStringLiteral("Open"), {QStringLiteral("document-open"), [](QPainter &p) {
             p.setBrush(QColor(0xf2, 0xc9, 0x4c));
             p.drawPolygon(QPolygon({QPoint(2, 6), QPoint(9, 6), QPoint(11, 8), QPoint(22, 8), QPoint(22, 20), QPoint(2, 20)}));
         }}},
        {QStringLiteral("Save"), {QStringLiteral("document-save"), [](QPainter &p) {
             p.setBrush(QColor(0x6f, 0x8f, 0xc9));
             p.drawRect(3, 3, 18, 18);
             p.setBrush(Qt::white);
             p.drawRect(7, 3, 10, 7);
         }}},
        {QStringLiteral("Search"), {QStringLiteral("edit-find"), [](QPainter &p) {
             p.drawEllipse(3, 3, 12, 12);
             p.setPen(QPen(kInk, 3));
             p.drawLine(14, 14, 21, 21);
         }}},
        {QStringLiteral("Picture"), {QStringLiteral("insert-image"), [](QPainter &p) {
             p.setBrush(QColor(0xcf, 0xe6, 0xf7));
             p.drawRect(2, 4, 20, 16);
             p.setBrush(QColor(0x4c, 0x8c, 0x4a));
             p.drawPolygon(QPolygon({QPoint(3, 19), QPoint(10, 10), QPoint(15, 16), QPoint(18, 13), QPoint(21, 19)}));
         }}},
        {QStringLiteral("Print"), {QStringLiteral("document-print"), [](QPainter &p) {
             p.setBrush(Qt::white);
             p.drawRect(7, 2, 10, 8);
             p.setBrush(QColor(0x9a, 0xa5, 0xb8));
             p.drawRect(2, 9, 20, 9);
             p.setBrush(Qt::white);
             p.drawRect(7, 15, 10, 7);
         }}},
        {QStringLiteral("Delete"), {QStringLiteral("edit-delete"), [](QPainter &p) {
             p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 3));
             p.drawLine(5, 5, 19, 19);
             p.drawLine(19, 5, 5, 19);
         }}},
        {QStringLiteral("Close"), {QStringLiteral("window-close"), [](QPainter &p) {
             p.setBrush(Qt::white);
             p.drawRoundedRect(3, 3, 18, 18, 3, 3);
             p.setPen(QPen(kInk, 2.4));
             p.drawLine(8, 8, 16, 16);
             p.drawLine(16, 8, 8, 16);
         }}},
        {QStringLiteral("Bold"), {QStringLiteral("format-text-bold"), [](QPainter &p) { letter(p, QStringLiteral("B"), true, false, false); }}},
        {QStringLiteral("Italic"), {QStringLiteral("format-text-italic"), [](QPainter &p) { letter(p, QStringLiteral("I"), false, true, false); }}},
        {QStringLiteral("Underline"), {QStringLiteral("format-text-underline"), [](QPainter &p) { letter(p, QStringLiteral("U"), false, false, true); }}},
        {QStringLiteral("Align Left"), {QStringLiteral("format-justify-left"), [](QPainter &p) { lines(p, Qt::AlignLeft); }}},
        {QStringLiteral("Align Center"), {QStringLiteral("format-justify-center"), [](QPainter &p) { lines(p, Qt::AlignHCenter); }}},
        {QStringLiteral("Align Right"), {QStringLiteral("format-justify-right"), [](QPainter &p) { lines(p, Qt::AlignRight); }}},
        {QStringLiteral("Color"), {QStringLiteral("format-text-color"), [](QPainter &p) {
             const QColor colours[]{QColor(0xe7, 0x4c, 0x3c), QColor(0xf1, 0xc4, 0x0f), QColor(0x27, 0xae, 0x60), QColor(0x29, 0x80, 0xb9)};
             for (int i = 0; i < 4; ++i) {
                 p.setBrush(colours[i]);
                 p.drawPie(QRect(2, 2, 20, 20), i * 90 * 16, 90 * 16);
             }
         }}},
        {QStringLiteral("Help"), {QStringLiteral("help-contents"), [](QPainter &p) { letter(p, QStringLiteral("?"), true, false, false); }}},
    };
    return table;
}

QIcon drawnIcon(const Drawing &draw)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1.6));
    draw(painter);
    return QIcon(pixmap);
}

} // namespace

QIcon toolbarIcon(const QString &key)
{
    const auto found = drawings().constFind(key);
    if (found == drawings().cend())
        return {};
    return QIcon::fromTheme(found->first, drawnIcon(found->second));
}
