#pragma once

#include <QAction>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <variant>
#include <vector>

// What one entry of the window looked like in the designed window: pixels,
// and its font size in whole points. A field the entry lacks (a menu item
// has no position or font) or whose value does not fit stays 0.
struct ControlLayout
{
    qint16 top = 0;
    qint16 left = 0;
    qint16 width = 0;
    qint16 height = 0;
    qint16 formScaleHeight = 0;
    qint16 formScaleWidth = 0;
    qint16 fontSize = 0;

    friend bool operator==(const ControlLayout &, const ControlLayout &) = default;
};

// Keeps every control at its designed place, size and font size scaled by
// how far the window's inner area has grown or shrunk. Each pass starts
// from the records taken at construction, so repeated resizing never drifts.
class ProportionalLayout
{
public:
    using Entry = std::variant<QWidget *, QAction *>;

    static constexpr int kMinSize = 100;
    static constexpr int kMaxSize = 2800;
    static constexpr double kMinFontSize = 8;
    static constexpr double kMaxFontSize = 18;

    // Takes the records now, with `inner` the window's inner size.
    ProportionalLayout(const QList<Entry> &entries, QSize inner);

    // Each direction is scaled only while the inner size in that direction
    // lies within the limits; font sizes follow the height alone. A size or
    // font size recorded as 0 was not there to record, so its step is
    // skipped, as is a direction whose recorded window size is 0; a position
    // of 0 is real and scales to 0. Pixels round to the nearest whole
    // number, halves away from zero.
    void apply(QSize inner) const;

    // An icon size designed for the recorded window, grown with the height
    // as fonts are but never past the width's growth, so a toolbar never
    // runs under the controls beside it; from the design to twice it.
    int iconSize(int designed, QSize inner) const;

    const std::vector<ControlLayout> &records() const { return m_records; }

private:
    std::vector<QPointer<QWidget>> m_controls;
    std::vector<ControlLayout> m_records;
    QSize m_inner;
};
