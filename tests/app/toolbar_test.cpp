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

    FormHarness harness;
};

} // namespace

TEST_F(ToolbarTest, EveryKeyReachesItsCommandAndNothingElseDoes)
{
    QStringList keys;
    for (QAction *action : form().Toolbar1->actions()) {
        if (!action->isSeparator() && !action->toolTip().isEmpty())
            keys.append(action->toolTip());
    }
    EXPECT_EQ(keys, (QStringList{"New", "Open", "Save", "Search", "Picture", "Print", "Delete", "Bold", "Italic", "Underline",
                                 "Align Left", "Align Center", "Align Right", "Color", "Help"}));
    EXPECT_EQ(form().Toolbar1->findChild<QToolButton *>(QStringLiteral("Bold"))->accessibleName(), QStringLiteral("Bold"));

    QSignalSpy pictures(form().m16, &QAction::triggered);
    QSignalSpy prints(form().m17, &QAction::triggered);
    harness.dialogs.answerOpenFile(QString());
    form().Toolbar1_ButtonClick(QStringLiteral("Picture"));
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_EQ(prints.count(), 0);

    form().Toolbar1_ButtonClick(QStringLiteral("Open"));
    EXPECT_TRUE(form().Frame3->isVisibleTo(&form()));
    form().Toolbar1_ButtonClick(QStringLiteral("Help"));
    EXPECT_EQ(harness.opened.size(), 1);

    const QByteArray before = form().rtxt2->textRtf();
    for (const char *unknown : {"bold", "Align left", "", "Paste"})
        form().Toolbar1_ButtonClick(QString::fromLatin1(unknown));
    EXPECT_EQ(form().rtxt2->textRtf(), before);
}

TEST_F(ToolbarTest, FormattingFromTheToolbarAndTheFontLists)
{
    selectAll();
    form().Toolbar1_ButtonClick(QStringLiteral("Align Center"));
    form().Toolbar1_ButtonClick(QStringLiteral("Align Center"));
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
    ASSERT_EQ(form().filechanged, 1);
    selectAll();
    form().Toolbar1_ButtonClick(QStringLiteral("Bold"));
    form().Toolbar1_ButtonClick(QStringLiteral("Align Right"));
    EXPECT_EQ(form().filechanged, 1);

    form().SavePage();
    ASSERT_EQ(form().filechanged, 0);
    selectAll();
    form().Toolbar1_ButtonClick(QStringLiteral("Italic"));
    form().cmbFontSize->setCurrentIndex(5);
    harness.dialogs.answerColor(QColor(Qt::darkGreen));
    form().Toolbar1_ButtonClick(QStringLiteral("Color"));
    EXPECT_EQ(form().filechanged, 0);
    EXPECT_EQ(form().rtxt2->selColor(), QColor(Qt::darkGreen));
    EXPECT_TRUE(harness.dialogs.shown().last().centred);
}
