#include "artwork.h"

#include "format/toolbaricons.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace artwork {

namespace {

// The paper's tints and rulings of each look; the dark one keeps the same
// picture in the colours of a lamp-lit page.
struct Paper
{
    QColor top;
    QColor bottom;
    QColor ruling;
    QColor margin;
    QColor banner;
};

Paper paperOf(Look look)
{
    if (look == Look::Dark)
        return {QColor(0x25, 0x28, 0x30), QColor(0x1c, 0x1e, 0x24), QColor(0x31, 0x3a, 0x4a), QColor(0x6b, 0x3c, 0x42), QColor(0x2c, 0x30, 0x3a)};
    return {QColor(0xfb, 0xf8, 0xf0), QColor(0xee, 0xe6, 0xd6), QColor(0xd9, 0xe2, 0xee), QColor(0xe8, 0xb4, 0xb4), QColor(0xf3, 0xec, 0xdc)};
}

// A quill feather lying from lower left to upper right inside rect.
void drawQuill(QPainter &painter, const QRectF &rect, const QColor &colour, const QColor &shaft)
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
    painter.setPen(QPen(shaft, qMax(1.0, rect.width() / 60)));
    painter.drawLine(tip, top);
}

// The shaft stands out from the vane: darker on light paper, lighter on dark.
QColor shaftOf(const QColor &vane, Look look)
{
    return look == Look::Dark ? vane.lighter(140) : vane.darker(140);
}

QPixmap drawn(QSize size, qreal scale, const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

// Redraws its label's picture when the label's look or its screen's scale
// changes (the scale is known for certain once shown); a change that keeps
// both, a new highlight colour say, costs nothing.
class LookFollower : public QObject
{
public:
    LookFollower(QLabel &label, std::function<QPixmap(Look, qreal)> picture)
        : QObject(&label), m_label(label), m_picture(std::move(picture))
    {
        label.installEventFilter(this);
        show();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto type = event->type();
        if (watched == &m_label && (type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange || type == QEvent::Show))
            show();
        return false;
    }

private:
    void show()
    {
        const Look look = lookOf(m_label.palette());
        const qreal scale = m_label.devicePixelRatioF();
        if (m_shown && look == m_look && scale == m_scale)
            return;
        m_shown = true;
        m_look = look;
        m_scale = scale;
        m_label.setPixmap(m_picture(look, scale));
    }

    QLabel &m_label;
    std::function<QPixmap(Look, qreal)> m_picture;
    bool m_shown = false;
    Look m_look = Look::Light;
    qreal m_scale = 1;
};

} // namespace

QPixmap backgroundPicture(Look look, qreal scale)
{
    return drawn(QSize(847, 553), scale, [look](QPainter &painter) {
        const Paper paper = paperOf(look);
        QLinearGradient wash(0, 0, 847, 553);
        wash.setColorAt(0, paper.top);
        wash.setColorAt(1, paper.bottom);
        painter.fillRect(QRect(0, 0, 847, 553), wash);
        painter.setPen(QPen(paper.ruling, 1));
        for (int y = 60; y < 553; y += 28)
            painter.drawLine(0, y, 847, y);
        painter.setPen(QPen(paper.margin, 2));
        painter.drawLine(300, 0, 300, 553);
        QColor faint = inksOf(look).ink;
        faint.setAlpha(28);
        drawQuill(painter, QRectF(640, 300, 190, 230), faint, shaftOf(faint, look));
    });
}

QPixmap titleBanner(Look look, qreal scale)
{
    return drawn(QSize(441, 66), scale, [look](QPainter &painter) {
        const QColor ink = inksOf(look).ink;
        painter.setBrush(paperOf(look).banner);
        painter.setPen(QPen(ink, 2));
        painter.drawRoundedRect(QRectF(1, 1, 439, 64), 14, 14);
        drawQuill(painter, QRectF(14, 8, 44, 50), ink, shaftOf(ink, look));
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(38);
        font.setItalic(true);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(QRectF(70, 0, 360, 66), Qt::AlignCenter, QStringLiteral("Quillnest"));
    });
}

QIcon applicationIcon()
{
    return drawnIcon([](QPainter &painter, qreal side, Look look) {
        const Inks inks = inksOf(look);
        painter.setBrush(look == Look::Dark ? paperOf(look).banner : paperOf(look).top);
        painter.setPen(QPen(inks.ink, qMax(1.0, std::floor(side / 24))));
        painter.drawRoundedRect(QRectF(side * 0.06, side * 0.06, side * 0.88, side * 0.88), side * 0.14, side * 0.14);
        drawQuill(painter, QRectF(side * 0.2, side * 0.15, side * 0.6, side * 0.7), inks.ink, shaftOf(inks.ink, look));
    });
}

QIcon pageButtonIcon(PageButton which)
{
    const bool toEnd = which == PageButton::First || which == PageButton::Last;
    const bool backwards = which == PageButton::First || which == PageButton::Previous;
    return drawnIcon([toEnd, backwards](QPainter &painter, qreal side, Look look) {
        painter.scale(side / 24, side / 24);
        if (backwards) {
            painter.translate(24, 0);
            painter.scale(-1, 1);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(inksOf(look).ink);
        const QPolygonF arrow({QPointF(7, 5), QPointF(17, 12), QPointF(7, 19)});
        painter.drawPolygon(arrow);
        if (toEnd)
            painter.drawRect(QRectF(17, 5, 3, 14));
    });
}

void showInLook(QLabel &label, const std::function<QPixmap(Look, qreal)> &picture)
{
    new LookFollower(label, picture);
}

} // namespace artwork
