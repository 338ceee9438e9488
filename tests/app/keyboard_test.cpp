#include "formharness.h"
#include "looks.h"

#include <numeric>

namespace {

// Each stop of the walk takes the focus and marks it as WCAG measures a focus
// mark: pixels that change by 3:1 or more, at least a line all round it.
void walk(Form1 &form, std::initializer_list<const char *> stops, bool forward = true)
{
    for (const char *name : stops) {
        QWidget *stop = named(form, name);
        const QRect around = QRect(stop->mapTo(&form, QPoint()), stop->size()).adjusted(-4, -4, 4, 4);
        const QImage before = form.grab(around).toImage().convertToFormat(QImage::Format_RGB32);
        // Tab from a control; Ctrl+Tab from an editor, where Tab types a tab.
        const Qt::KeyboardModifiers editor = qobject_cast<RichTextEdit *>(QApplication::focusWidget()) ? Qt::ControlModifier : Qt::NoModifier;
        QTest::keyClick(QApplication::focusWidget(), forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? editor : editor | Qt::ShiftModifier);
        ASSERT_EQ(QApplication::focusWidget(), stop->focusProxy() ? stop->focusProxy() : stop)
            << qPrintable(QApplication::focusWidget()->objectName()) << " for " << qPrintable(stop->objectName());
        const QImage after = form.grab(around).toImage().convertToFormat(QImage::Format_RGB32);
        const int marked = std::transform_reduce(pixelsIn(before).begin(), pixelsIn(before).end(), pixelsIn(after).begin(), 0, std::plus<>(),
                                                 [](QRgb one, QRgb other) { return int(wcagContrast(one, other) >= 3); });
        EXPECT_GE(marked, 2 * (after.width() + after.height())) << qPrintable(stop->objectName()) << " shows no focus";
    }
}

class KeyboardWalk : public FormTest, public ::testing::WithParamInterface<Look>
{
};

} // namespace

TEST_P(KeyboardWalk, TabGoesRoundMarkingEachStopAndTheCalendarOpensTheDayChosenWithEnterOrSpace)
{
    const ScopedLook look(GetParam());
    storePage("2026-12-04", "2026-12-04");
    storePage("2026-12-06", "2026-12-06");
    Form1 &f = harness.startWithoutPassword();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(std::tuple(QApplication::focusWidget(), page().tabChangesFocus(), note().tabChangesFocus()), std::tuple(&page(), false, false));
    walk(f, {"rtxt", "SSCommand1", "SSCommand2", "SSCommand3", "SSCommand4", "cmbFontName", "cmbFontSize", "monthview1", "rtxt2"});
    walk(f, {"monthview1", "cmbFontSize", "cmbFontName", "SSCommand4", "SSCommand3", "SSCommand2", "SSCommand1", "rtxt", "rtxt2"}, false);
    EXPECT_EQ(f.session().book().filechanged(), 0) << "leaving the page is no typing";

    // The arrow keys move the highlight alone: nothing opens, nothing is asked.
    walk(f, {"monthview1"}, false);
    QWidget *days = QApplication::focusWidget();
    // Keys pressed on the days, then the highlighted day, the date shown and its page. Enter on the
    // open day changes nothing; a highlight left unchosen goes back to it.
    const std::pair<QList<Qt::Key>, const char *> presses[] = {{{Qt::Key_Right, Qt::Key_Right}, "2026-12-06 12/4/2026 2026-12-04"},
                                                               {{Qt::Key_Return}, "2026-12-06 12/6/2026 2026-12-06"},
                                                               {{Qt::Key_Left, Qt::Key_Space}, "2026-12-05 12/5/2026 "},
                                                               {{Qt::Key_Enter, Qt::Key_Down, Qt::Key_Tab}, "2026-12-05 12/5/2026 "}};
    for (const auto &[keys, shown] : presses) {
        for (const Qt::Key key : keys)
            QTest::keyClick(days, key);
        EXPECT_EQ(QStringList({calendar().selectedDate().toString(Qt::ISODate), named<QLabel>(f, "dtpick")->text(), page().text()}).join(u' '),
                  QString::fromLatin1(shown));
    }
    EXPECT_EQ(harness.dialogs.shown().size(), 1) << "the sign-in's notice alone";

    // A panel takes the calendar column's place, the note under it too.
    run("m5");
    walk(f, {"chkMatchCase", "chkTextOnly", "Command4", "List1", "Command1", "rtxt2"});
    named<QPushButton>(f, "Command1")->click();
    run("openPanel");
    walk(f, {"Command3", "rtxt2"});
}

INSTANTIATE_TEST_SUITE_P(, KeyboardWalk, ::testing::Values(Look::Light, Look::Dark),
                         [](const ::testing::TestParamInfo<Look> &info) { return std::string(lookName(info.param)); });
