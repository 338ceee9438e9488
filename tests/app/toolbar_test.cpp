#include "formharness.h"

#include "editor/richtextedit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class ToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        harness.withoutPassword();
        harness.start();
        form().rtxt2->setPlainText(QStringLiteral("one two three"));
    }
    Form1 &form() const { return *harness.form; }
    void selectAll() { form().rtxt2->selectAll(); }
    void press(const char *key) { form().Toolbar1->findChild<QToolButton *>(QString::fromLatin1(key))->click(); }

    FormHarness harness;
};

} // namespace

TEST_F(ToolbarTest, KeysReachTheirCommands)
{
    QSignalSpy pictures(form().m16, &QAction::triggered);
    QSignalSpy prints(form().m17, &QAction::triggered);
    harness.dialogs.answerOpenFile(QString());
    press("Picture");
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_EQ(prints.count(), 0);

    // Unlike File > Open File, the toolbar's Open asks nothing: the question comes when a page opens.
    QTest::keyClicks(form().rtxt2, QStringLiteral("x"));
    press("Open");
    EXPECT_TRUE(form().Frame3->isVisibleTo(&form()));
    EXPECT_EQ(harness.dialogs.shown().size(), 2);
    press("Help");
    EXPECT_EQ(harness.opened.size(), 1);
}

TEST_F(ToolbarTest, FormattingFromTheToolbarAndTheFontLists)
{
    selectAll();
    press("Align Center");
    press("Align Center");
    EXPECT_EQ(form().rtxt2->selAlignment(), Qt::AlignHCenter);

    form().cmbFontSize->setCurrentIndex(form().cmbFontSize->findText(QStringLiteral("24")));
    EXPECT_EQ(form().rtxt2->selFontSize(), 24);
    const QString family = form().cmbFontName->itemText(form().cmbFontName->count() - 1);
    form().cmbFontName->setCurrentIndex(form().cmbFontName->count() - 1);
    EXPECT_EQ(form().rtxt2->selFontName(), family);
    EXPECT_EQ(form().rtxt2->selFontSize(), 10);
    EXPECT_EQ(form().cmbFontSize->currentText(), QStringLiteral("10"));

    form().cmbFontSize->setCurrentIndex(form().cmbFontSize->findText(QStringLiteral("72")));
    EXPECT_EQ(form().rtxt2->selFontSize(), 72);
    EXPECT_EQ(form().rtxt2->selFontName(), family);

    // Typing into a list's field selects nothing.
    form().cmbFontSize->lineEdit()->setText(QStringLiteral("12"));
    EXPECT_EQ(form().rtxt2->selFontSize(), 72);
}

TEST_F(ToolbarTest, FormattingNeverMarksThePageChanged)
{
    QTest::keyClicks(form().rtxt2, QStringLiteral("x"));
    ASSERT_EQ(form().session().filechanged(), 1);
    selectAll();
    press("Bold");
    press("Align Right");
    EXPECT_EQ(form().session().filechanged(), 1);

    form().session().SavePage();
    ASSERT_EQ(form().session().filechanged(), 0);
    selectAll();
    press("Italic");
    form().cmbFontSize->setCurrentIndex(5);
    harness.dialogs.answerColor(QColor(Qt::darkGreen));
    press("Color");
    EXPECT_EQ(form().session().filechanged(), 0);
    EXPECT_EQ(form().rtxt2->selColor(), QColor(Qt::darkGreen));
    EXPECT_TRUE(harness.dialogs.shown().last().centred);
}
