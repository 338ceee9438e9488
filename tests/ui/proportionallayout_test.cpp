#include "ui/proportionallayout.h"

#include "qtprinters.h"
#include "testapplication.h"

#include <QLabel>

#include <gtest/gtest.h>

// A designed window of 840 by 553 pixels with a label, a button and a menu item. Each row applies its window size after the rows before it:
// a direction outside the limits keeps what the last size gave it, fonts go
// with the height, and each size is taken from the design, so nothing drifts;
// a moved control returns and a deleted one is skipped.
TEST(ProportionalLayout, ScalesPlacesAndClampsFontsAndLeavesADirectionOutsideTheLimitsAlone)
{
    testApplication();
    constexpr QSize kDesigned{840, 553};
    QWidget window;
    auto *label = new QLabel(QStringLiteral("Label5"), &window);
    label->setGeometry(424, 112, 241, 17);
    label->setFont(QFont(label->font().family(), 12));
    auto *button = new QWidget(&window);
    button->setGeometry(56, 312, 97, 25);
    QAction action{QStringLiteral("Exit")};
    const ProportionalLayout layout({label, &action, button}, kDesigned);

    // The window's size, then the label's rectangle and font size it gives.
    const std::tuple<QSize, QRect, qreal> steps[]{
        {{0, 0}, {424, 112, 241, 17}, 0},        {{1680, 3000}, {848, 112, 482, 17}, 12}, {{99, 1106}, {848, 224, 482, 34}, 0},
        {{100, 2800}, {50, 567, 29, 86}, 0},    {kDesigned, {424, 112, 241, 17}, 12},    {kDesigned * 2, {848, 224, 482, 34}, 18},
        {{420, 276}, {212, 56, 121, 8}, 8},     {{840, 600}, {}, 12 * 600 / 553.0},
    };
    for (const auto &[size, rectangle, points] : steps) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        layout.apply(size);
        // A row without a rectangle or a size does not check it.
        EXPECT_EQ(rectangle.isNull() ? QRect() : label->geometry(), rectangle);
        EXPECT_DOUBLE_EQ(points > 0 ? label->font().pointSizeF() : 0, points);
    }
    layout.apply(kDesigned * 2);
    EXPECT_EQ(button->geometry(), QRect(112, 624, 194, 50));

    label->move(88, 104);
    delete button;
    layout.apply(kDesigned);
    EXPECT_EQ(label->geometry(), QRect(424, 112, 241, 17));
}
