#include "proportionallayout.h"

#include "rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

qint16 field(double value)
{
    constexpr double lowest = std::numeric_limits<qint16>::min();
    constexpr double highest = std::numeric_limits<qint16>::max();
    return value >= lowest && value <= highest ? static_cast<qint16>(value) : 0;
}

ControlLayout recordOf(const QWidget *control, QSize inner)
{
    const QRect place = control->geometry();
    const qreal points = control->font().pointSizeF();
    return {
        .top = field(place.top()),
        .left = field(place.left()),
        .width = field(place.width()),
        .height = field(place.height()),
        .formScaleHeight = field(inner.height()),
        .formScaleWidth = field(inner.width()),
        // A font sized in pixels has no point size to record.
        .fontSize = points > 0 ? field(roundHalfEven(points)) : qint16(0),
    };
}

int scaled(qint16 value, double ratio)
{
    return static_cast<int>(std::lround(value * ratio));
}

// How much one direction has grown, or nothing when it is left alone.
std::optional<double> ratio(int size, qint16 designed)
{
    if (size < ProportionalLayout::kMinSize || size > ProportionalLayout::kMaxSize || designed == 0)
        return std::nullopt;
    return double(size) / designed;
}

QRect scaledPlace(QRect place, const ControlLayout &record, std::optional<double> down, std::optional<double> across)
{
    if (down) {
        place.moveTop(scaled(record.top, *down));
        if (record.height != 0)
            place.setHeight(scaled(record.height, *down));
    }
    if (across) {
        place.moveLeft(scaled(record.left, *across));
        if (record.width != 0)
            place.setWidth(scaled(record.width, *across));
    }
    return place;
}

void scaleFont(QWidget *control, qint16 points, double down)
{
    QFont font = control->font();
    font.setPointSizeF(std::clamp(points * down, ProportionalLayout::kMinFontSize, ProportionalLayout::kMaxFontSize));
    control->setFont(font);
}

} // namespace

ProportionalLayout::ProportionalLayout(const QList<Entry> &entries, QSize inner) : m_inner(inner)
{
    for (const Entry &entry : entries) {
        QWidget *control = std::holds_alternative<QWidget *>(entry) ? std::get<QWidget *>(entry) : nullptr;
        m_controls.emplace_back(control);
        m_records.push_back(control ? recordOf(control, inner)
                                    : ControlLayout{.formScaleHeight = field(inner.height()),
                                                    .formScaleWidth = field(inner.width())});
    }
}

void ProportionalLayout::apply(QSize inner) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        QWidget *control = m_controls[i];
        const ControlLayout &record = m_records[i];
        if (!control)
            continue;
        const std::optional<double> down = ratio(inner.height(), record.formScaleHeight);
        const std::optional<double> across = ratio(inner.width(), record.formScaleWidth);
        control->setGeometry(scaledPlace(control->geometry(), record, down, across));
        if (down && record.fontSize != 0)
            scaleFont(control, record.fontSize, *down);
    }
}

int ProportionalLayout::iconSize(int designed, QSize inner) const
{
    if (m_inner.isEmpty())
        return designed;
    const double grown = std::min(double(inner.height()) / m_inner.height(), double(inner.width()) / m_inner.width());
    return std::clamp(static_cast<int>(std::lround(designed * grown)), designed, 2 * designed);
}
