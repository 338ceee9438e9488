#include "toolbaricons.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <cmath>

namespace {

// Drawn on a 24 by 24 square, in the inks of a look.
using Drawing = std::function<void(QPainter &, const Inks &)>;

class DrawnIconEngine : public QIconEngine
{
public:
    explicit DrawnIconEngine(IconDrawing draw) : m_draw(std::move(draw)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = scaledPixmap(rect.size() * scale, mode, state, scale);
        drawn.setDevicePixelRatio(scale);
        painter->drawPixmap(rect, drawn);
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override { return scaledPixmap(size, mode, state, 1.0); }
    // size is in device pixels already: the icon sets the pixmap's ratio itself.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        if (size.isEmpty())
            return pixmap;
        {
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            m_draw(painter, qMin(size.width(), size.height()), currentLook());
        }
        // The style greys a disabled key as it does its own icons; a bare
        // QGuiApplication (the icon export) has no style and asks for no such icon.
        auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
        if (mode == QIcon::Normal || !application)
            return pixmap;
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }
    QIconEngine *clone() const override { return new DrawnIconEngine(m_draw); }
    QString key() const override { return QStringLiteral("DrawnIconEngine"); }
    bool isNull() override { return false; }

private:
    IconDrawing m_draw;
};


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

void sheet(QPainter &painter, const Inks &inks)
{
    QPainterPath path;
    path.moveTo(5, 2);
    path.lineTo(14, 2);
    path.lineTo(19, 7);
    path.lineTo(19, 22);
    path.lineTo(5, 22);
    path.closeSubpath();
    painter.setBrush(inks.paper);
    painter.drawPath(path);
}

const QHash<QString, std::pair<QString, Drawing>> &drawings()
{
    static const QHash<QString, std::pair<QString, Drawing>> table{
        {QStringLiteral("New"), {QStringLiteral("document-new"), [](QPainter &p, const Inks &inks) { sheet(p, inks); }}},
        {QStringLiteral("Open"), {QStringLiteral("document-open"), [](QPainter &p, const Inks &) {
             p.setBrush(QColor(0xf2, 0xc9, 0x4c));
             p.drawPolygon(QPolygon({QPoint(2, 6), QPoint(9, 6), QPoint(11, 8), QPoint(22, 8), QPoint(22, 20), QPoint(2, 20)}));
         }}},
        {QStringLiteral("Save"), {QStringLiteral("document-save"), [](QPainter &p, const Inks &inks) {
             p.setBrush(QColor(0x6f, 0x8f, 0xc9));
             p.drawRect(3, 3, 18, 18);
             p.setBrush(inks.paper);
             p.drawRect(7, 3, 10, 7);
         }}},
        {QStringLiteral("Search"), {QStringLiteral("edit-find"), [](QPainter &p, const Inks &inks) {
             p.drawEllipse(3, 3, 12, 12);
             p.setPen(QPen(inks.ink, 3));
             p.drawLine(14, 14, 21, 21);
         }}},
        {QStringLiteral("Picture"), {QStringLiteral("insert-image"), [](QPainter &p, const Inks &) {
             p.setBrush(QColor(0xcf, 0xe6, 0xf7));
             p.drawRect(2, 4, 20, 16);
             p.setBrush(QColor(0x4c, 0x8c, 0x4a));
             p.drawPolygon(QPolygon({QPoint(3, 19), QPoint(10, 10), QPoint(15, 16), QPoint(18, 13), QPoint(21, 19)}));
         }}},
        {QStringLiteral("Print"), {QStringLiteral("document-print"), [](QPainter &p, const Inks &inks) {
             p.setBrush(inks.paper);
             p.drawRect(7, 2, 10, 8);
             p.setBrush(QColor(0x9a, 0xa5, 0xb8));
             p.drawRect(2, 9, 20, 9);
             p.setBrush(inks.paper);
             p.drawRect(7, 15, 10, 7);
         }}},
        {QStringLiteral("Delete"), {QStringLiteral("edit-delete"), [](QPainter &p, const Inks &) {
             p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 3));
             p.drawLine(5, 5, 19, 19);
             p.drawLine(19, 5, 5, 19);
         }}},
        {QStringLiteral("Close"), {QStringLiteral("window-close"), [](QPainter &p, const Inks &inks) {
             p.setBrush(inks.paper);
             p.drawRoundedRect(3, 3, 18, 18, 3, 3);
             p.setPen(QPen(inks.ink, 2.4));
             p.drawLine(8, 8, 16, 16);
             p.drawLine(16, 8, 8, 16);
         }}},
        {QStringLiteral("Bold"), {QStringLiteral("format-text-bold"), [](QPainter &p, const Inks &) { letter(p, QStringLiteral("B"), true, false, false); }}},
        {QStringLiteral("Italic"), {QStringLiteral("format-text-italic"), [](QPainter &p, const Inks &) { letter(p, QStringLiteral("I"), false, true, false); }}},
        {QStringLiteral("Underline"), {QStringLiteral("format-text-underline"), [](QPainter &p, const Inks &) { letter(p, QStringLiteral("U"), false, false, true); }}},
        {QStringLiteral("Align Left"), {QStringLiteral("format-justify-left"), [](QPainter &p, const Inks &) { lines(p, Qt::AlignLeft); }}},
        {QStringLiteral("Align Center"), {QStringLiteral("format-justify-center"), [](QPainter &p, const Inks &) { lines(p, Qt::AlignHCenter); }}},
        {QStringLiteral("Align Right"), {QStringLiteral("format-justify-right"), [](QPainter &p, const Inks &) { lines(p, Qt::AlignRight); }}},
        {QStringLiteral("Color"), {QStringLiteral("format-text-color"), [](QPainter &p, const Inks &) {
             const QColor colours[]{QColor(0xe7, 0x4c, 0x3c), QColor(0xf1, 0xc4, 0x0f), QColor(0x27, 0xae, 0x60), QColor(0x29, 0x80, 0xb9)};
             for (int i = 0; i < 4; ++i) {
                 p.setBrush(colours[i]);
                 p.drawPie(QRect(2, 2, 20, 20), i * 90 * 16, 90 * 16);
             }
         }}},
        {QStringLiteral("Help"), {QStringLiteral("help-contents"), [](QPainter &p, const Inks &) { letter(p, QStringLiteral("?"), true, false, false); }}},
    };
    return table;
}

QIcon keyIcon(const Drawing &draw)
{
    return drawnIcon([draw](QPainter &painter, qreal side, Look look) {
        const Inks inks = inksOf(look);
        painter.scale(side / 24, side / 24);
        painter.setPen(QPen(inks.ink, 1.6));
        draw(painter, inks);
    });
}

} // namespace

QIcon drawnIcon(IconDrawing draw)
{
    return QIcon(new DrawnIconEngine(std::move(draw)));
}

QIcon toolbarIcon(const QString &key)
{
    const auto found = drawings().constFind(key);
    if (found == drawings().cend())
        return {};
    return QIcon::fromTheme(found->first, keyIcon(found->second));
}
