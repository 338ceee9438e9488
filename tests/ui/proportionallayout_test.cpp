#include "ui/proportionallayout.h"

#include "qtprinters.h"
#include "testapplication.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A designed window of 840 by 553 pixels with a label, a frame holding a
// button, and a menu item.
class LayoutTest : public ::testing::Test
{
protected:
    static constexpr QSize kDesigned{840, 553};

    LayoutTest()
    {
        label->setGeometry(424, 112, 241, 17);
        QFont font = label->font();
        font.setPointSizeF(12);
        label->setFont(font);
        frame->setGeometry(24, 152, 217, 353);
        button->setGeometry(56, 312, 97, 25);
    }

    ProportionalLayout designed() { return ProportionalLayout({label, frame, &action, button}, kDesigned); }

    QApplication &app = testApplication();
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLabel *label = new QLabel(QStringLiteral("Label5"), window.get());
    QWidget *frame = new QWidget(window.get());
    QWidget *button = new QWidget(frame);
    QAction action{QStringLiteral("Exit")};
};

} // namespace

TEST_F(LayoutTest, ScalesPlacesAndClampsFontsByTheWindowSize)
{
    const ProportionalLayout layout = designed();
    layout.apply(kDesigned);
    EXPECT_EQ(label->geometry(), QRect(424, 112, 241, 17));
    EXPECT_EQ(label->font().pointSizeF(), 12);

    layout.apply(kDesigned * 2);
    EXPECT_EQ(label->geometry(), QRect(848, 224, 482, 34));
    EXPECT_EQ(button->geometry(), QRect(112, 624, 194, 50));
    EXPECT_EQ(label->font().pointSizeF(), 18);

    layout.apply({420, 276});
    EXPECT_EQ(label->geometry(), QRect(212, 56, 121, 8));
    EXPECT_EQ(label->font().pointSizeF(), 8);

    layout.apply({840, 600});
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 12 * 600 / 553.0);
}

TEST_F(LayoutTest, LeavesADirectionOutsideTheLimitsAlone)
{
    const ProportionalLayout layout = designed();
    layout.apply({0, 0});
    EXPECT_EQ(label->geometry(), QRect(424, 112, 241, 17));

    layout.apply({1680, 3000});
    EXPECT_EQ(label->geometry(), QRect(848, 112, 482, 17));
    EXPECT_EQ(label->font().pointSizeF(), 12);

    layout.apply({99, 1106});
    EXPECT_EQ(label->geometry(), QRect(848, 224, 482, 34));
    layout.apply({100, 2800});
    EXPECT_EQ(label->geometry(), QRect(50, 567, 29, 86));
}

TEST_F(LayoutTest, ManyResizesNeverDrift)
{
    const ProportionalLayout layout = designed();
    for (int step = 0; step < 500; ++step)
        layout.apply({101 + step * 7 % 2000, 103 + step * 13 % 2500});
    layout.apply(kDesigned);
    EXPECT_EQ(label->geometry(), QRect(424, 112, 241, 17));
    EXPECT_EQ(button->geometry(), QRect(56, 312, 97, 25));
    EXPECT_EQ(label->font().pointSizeF(), 12);
}

TEST_F(LayoutTest, AMovedControlReturnsAndADeletedOneIsSkipped)
{
    const ProportionalLayout layout = designed();
    frame->move(88, 104);
    delete button;
    layout.apply(kDesigned);
    EXPECT_EQ(frame->geometry(), QRect(24, 152, 217, 353));
}
