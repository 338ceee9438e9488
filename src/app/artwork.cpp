#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace artwork {

namespace {

const QColor kInk(0x2f, 0x3e, 0x5c);
const QColor kPaper(0xfb, 0xf8, 0xf0);

// A quill feather lying from lower left to upper right inside rect.
void drawQuill(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    QPainterPath vane;
    const QPointF tip = rect.bottomLeft();
    const QPointF top = rect.topRight();
    vane.moveTo(tip);
    vane.cubicTo(QPointF(rect.left() + rect.width() * 0.2, rect.top() + rect.height() * 0.35),
                 QPointF(rect.left() + rect.width() * 0.55, rect.top()), top);
    vane.cubicTo(QPointF(rect.right(), rect.top() + rect.height() * 0.45),
                 QPointF(rect.left() + rect.width() * 0.45, rect.bottom() - rect.height() * 0.15), tip);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(vane);
    painter.setPen(QPen(colour.darker(140), qMax(1.0, rect.width() / 60)));
    painter.drawLine(tip, top);
}

QPixmap drawn(QSize size, const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

} // namespace

QPixmap backgroundPicture()
{
    return drawn(QSize(847, 553), [](QPainter &painter) {
        QLinearGradient wash(0, 0, 847, 553);
        wash.setColorAt(0, kPaper);
        wash.setColorAt(1, QColor(0xee, 0xe6, 0xd6));
        painter.fillRect(QRect(0, 0, 847, 553), wash);
        painter.setPen(QPen(QColor(0xd9, 0xe2, 0xee), 1));
        for (int y = 60; y < 553; y += 28)
            painter.drawLine(0, y, 847, y);
        painter.setPen(QPen(QColor(0xe8, 0xb4, 0xb4), 2));
        painter.drawLine(300, 0, 300, 553);
        QColor faint = kInk;
        faint.setAlpha(28);
        drawQuill(painter, QRectF(640, 300, 190, 230), faint);
    });
}

QPixmap titleBanner()
{
    return drawn(QSize(441, 66), [](QPainter &painter) {
        painter.setBrush(QColor(0xf3, 0xec, 0xdc));
        painter.setPen(QPen(kInk, 2));
        painter.drawRoundedRect(QRectF(1, 1, 439, 64), 14, 14);
        drawQuill(painter, QRectF(14, 8, 44, 50), kInk);
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(38);
        font.setItalic(true);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(kInk);
        painter.drawText(QRectF(70, 0, 360, 66), Qt::AlignCenter, QStringLiteral("Quillnest"));
    });
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int side : {16, 32, 64, 128, 256}) {
        icon.addPixmap(drawn(QSize(side, side), [side](QPainter &painter) {
            painter.setBrush(kPaper);
            painter.setPen(QPen(kInk, qMax(1, side / 24)));
            painter.drawRoundedRect(QRectF(side * 0.06, side * 0.06, side * 0.88, side * 0.88), side * 0.14, side * 0.14);
            drawQuill(painter, QRectF(side * 0.2, side * 0.15, side * 0.6, side * 0.7), kInk);
        }));
    }
    return icon;
}

QIcon pageButtonIcon(PageButton which)
{
    const bool toEnd = which == PageButton::First || which == PageButton::Last;
    const bool backwards = which == PageButton::First || which == PageButton::Previous;
    return QIcon(drawn(QSize(24, 24), [toEnd, backwards](QPainter &painter) {
        if (backwards) {
            painter.translate(24, 0);
            painter.scale(-1, 1);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        const QPolygonF arrow({QPointF(7, 5), QPointF(17, 12), QPointF(7, 19)});
        painter.drawPolygon(arrow);
        if (toEnd)
            painter.drawRect(QRectF(17, 5, 3, 14));
    }));
}

} // namespace artwork
