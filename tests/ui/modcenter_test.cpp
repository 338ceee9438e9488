#include "ui/modcenter.h"
#include "ui/qtdialogs.h"

#include "modaldialog.h"
#include "qtprinters.h"
#include "testapplication.h"

#include <QMessageBox>
#include <QScreen>

#include <gtest/gtest.h>

TEST(Centering, OriginIsHalfTheRoomLeftRoundedHalfToEven)
{
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(centeredOrigin(screen, {400, 300}), QPoint(312, 234));
    EXPECT_EQ(centeredOrigin(screen, {401, 299}), QPoint(312, 234));
    EXPECT_EQ(centeredOrigin(screen, {403, 301}), QPoint(310, 234));
    EXPECT_EQ(centeredOrigin(screen, {1101, 768}), QPoint(-38, 0));
    EXPECT_EQ(centeredOrigin(screen, {1025, 769}), QPoint(0, 0));
    EXPECT_EQ(centeredOrigin(QRect(1024, 0, 800, 600), {400, 300}), QPoint(1224, 150));
}

namespace {

class CenteringTest : public ::testing::Test
{
protected:
    CenteringTest() { testApplication(); }
    ~CenteringTest() override { StopCentering(); }

    static QPoint centerOf(const QWidget &window)
    {
        return centeredOrigin(window.screen()->geometry(), window.size());
    }

    // A box placed in a corner, where Qt would otherwise leave it.
    static void showInCorner(QWidget &window)
    {
        window.move(3, 5);
        window.show();
    }
};

} // namespace

TEST_F(CenteringTest, DialogsInsideTheBracketAppearCentred)
{
    QMessageBox outside(QMessageBox::Information, QStringLiteral("Saved"), QStringLiteral("Page saved"));
    StopCentering();
    showInCorner(outside);
    EXPECT_EQ(outside.pos(), QPoint(3, 5));

    StartCentering();
    StartCentering();
    QMessageBox inside(QMessageBox::Critical, QStringLiteral("Error"), QStringLiteral("A much longer message that widens the box"));
    showInCorner(inside);
    EXPECT_EQ(inside.pos(), centerOf(inside));
    EXPECT_NE(inside.pos(), QPoint(3, 5));

    StopCentering();
    QMessageBox after(QMessageBox::Information, QStringLiteral("Saved"), QStringLiteral("Page saved"));
    showInCorner(after);
    EXPECT_EQ(after.pos(), QPoint(3, 5));
}

TEST_F(CenteringTest, OtherWindowsAreNotMoved)
{
    const CenteringBracket bracket;
    QWidget plain;
    plain.resize(200, 100);
    showInCorner(plain);
    EXPECT_EQ(plain.pos(), QPoint(3, 5));

    QWidget tip(nullptr, Qt::ToolTip);
    tip.resize(80, 20);
    showInCorner(tip);
    EXPECT_EQ(tip.pos(), QPoint(3, 5));
}

TEST_F(CenteringTest, ABoxOfTheDialogsSeamIsCentredAndTheBracketClosesAfterIt)
{
    QtDialogs dialogs;
    QPoint shownAt;
    QPoint center;
    whenModalShown([&](QDialog &dialog) {
        shownAt = dialog.pos();
        center = centerOf(dialog);
    });
    {
        const CenteringBracket bracket;
        dialogs.message(QStringLiteral("The picture could not be loaded, so nothing was added to the page."),
                        QStringLiteral("Picture"), Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel);
    }
    EXPECT_EQ(shownAt, center);

    QMessageBox later(QMessageBox::Information, QStringLiteral("Saved"), QStringLiteral("Page saved"));
    showInCorner(later);
    EXPECT_EQ(later.pos(), QPoint(3, 5));
}
