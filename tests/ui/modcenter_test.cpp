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

    // Shows a box placed in a corner, where Qt would otherwise leave it; gives where it stands.
    static QPoint shownInCorner(QWidget &window)
    {
        window.move(kCorner);
        window.show();
        return window.pos();
    }

    static constexpr QPoint kCorner{3, 5};
};

} // namespace

TEST_F(CenteringTest, DialogsInsideTheBracketAppearCentred)
{
    QMessageBox outside(QMessageBox::Information, QStringLiteral("Saved"), QStringLiteral("Page saved"));
    StopCentering();
    EXPECT_EQ(shownInCorner(outside), kCorner);

    StartCentering();
    StartCentering();
    QMessageBox inside(QMessageBox::Critical, QStringLiteral("Error"), QStringLiteral("A much longer message that widens the box"));
    EXPECT_NE(shownInCorner(inside), kCorner);
    EXPECT_EQ(inside.pos(), centerOf(inside));

    StopCentering();
    QMessageBox after(QMessageBox::Information, QStringLiteral("Saved"), QStringLiteral("Page saved"));
    EXPECT_EQ(shownInCorner(after), kCorner);
}

TEST_F(CenteringTest, OtherWindowsAreNotMoved)
{
    const CenteringBracket bracket;
    for (const Qt::WindowType type : {Qt::Widget, Qt::ToolTip}) {
        QWidget window(nullptr, type);
        window.resize(200, 100);
        EXPECT_EQ(shownInCorner(window), kCorner) << type;
    }
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
    EXPECT_EQ(shownInCorner(later), kCorner);
}
