#include "formharness.h"
#include "looks.h"

#include "app/filelistbox.h"
#include "app/lockbox.h"
#include "app/monthcalendar.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "glance/glancewindow.h"
#include "history/pagehistorywindow.h"
#include "session/daybook.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Pictures of the windows for people to look at, light and dark: at 100%
// and, when the suite runs with QT_SCALE_FACTOR=2, at 200%. The light ones
// keep their old names. Each also has its text measured for contrast.
class Screenshots : public ::testing::TestWithParam<Look>
{
protected:
    Look look() const { return GetParam(); }
    QString screenshotPath(const char *name) const
    {
        const QString folder = QStringLiteral(QUILLNEST_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        const int percent = qRound(qGuiApp->devicePixelRatio() * 100);
        const QString dark = look() == Look::Dark ? QStringLiteral("-dark") : QString();
        return QStringLiteral("%1/%2%3-%4.png").arg(folder, QString::fromLatin1(name), dark).arg(percent);
    }
    ContrastCheck check(const char *window) const { return ContrastCheck(QString::fromLatin1(window), look()); }

    ScopedLook scopedLook{GetParam()};
};

// A small landscape to stand for a holiday photo.
QImage landscape()
{
    QImage image(300, 180, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(0x6f, 0xa8, 0xdc));
    sky.setColorAt(1, QColor(0xe8, 0xf1, 0xfa));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf4, 0xd0, 0x3f));
    painter.drawEllipse(QPointF(230, 50), 22, 22);
    painter.setBrush(QColor(0x5b, 0x8c, 0x5a));
    painter.drawEllipse(QRectF(-60, 110, 260, 160));
    painter.setBrush(QColor(0x3f, 0x6e, 0x4a));
    painter.drawEllipse(QRectF(120, 125, 260, 150));
    return image;
}

void writeADay(Form1 &form)
{
    named<RichTextEdit>(form, "rtxt2")->setSelFontName(QStringLiteral("Liberation Serif"));
    named<RichTextEdit>(form, "rtxt2")->setSelFontSize(14);
    named<RichTextEdit>(form, "rtxt2")->insertPlainText(QStringLiteral("Skating on the lake with Anna. "));
    named<RichTextEdit>(form, "rtxt2")->setSelBold(true);
    named<RichTextEdit>(form, "rtxt2")->insertPlainText(QStringLiteral("The ice held!"));
    named<RichTextEdit>(form, "rtxt2")->setSelBold(false);
    named<RichTextEdit>(form, "rtxt2")->insertPlainText(QStringLiteral("\n"));
    named<RichTextEdit>(form, "rtxt2")->pastePicture(landscape());
    named<RichTextEdit>(form, "rtxt")->setPlainText(QStringLiteral("Anna's birthday"));
}

// The strip across the top of a group box where its caption is.
QRect captionOf(const QGroupBox &box)
{
    return QRect(0, 0, box.width(), box.fontMetrics().height() + 4);
}

// The calendar's cell in row (0 the day names) whose text is shown.
QRect calendarCell(MonthCalendar &calendar, int row, const QString &shown)
{
    auto *view = calendar.findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"));
    const QAbstractItemModel *model = view->model();
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->index(row, column).data().toString() == shown)
            return view->visualRect(model->index(row, column)).adjusted(1, 1, -1, -1).translated(view->viewport()->mapTo(&calendar, QPoint(0, 0)));
    ADD_FAILURE() << "no cell " << shown.toStdString() << " in row " << row;
    return {};
}

// Each caption of a menu, as the menu shows when it drops down.
void checkMenus(ContrastCheck &check, QMenuBar &bar)
{
    for (QAction *action : bar.actions()) {
        if (QMenu *menu = action->menu()) {
            menu->ensurePolished();
            menu->adjustSize();
            check.picture(QStringLiteral("menu ") + menu->title().remove(QLatin1Char('&')), menu->grab().toImage());
        }
    }
}

void checkHeadings(ContrastCheck &check, Form1 &form)
{
    for (const char *name : {"dtpick", "Label5", "Label4", "Label3", "Label1", "text3"})
        if (QLabel *label = named<QLabel>(form, name); !label->text().isEmpty())
            check.control(form, *label);
}

} // namespace

TEST_P(Screenshots, TheMainWindowWithAPagePictureNoteAndBoldDates)
{
    FormHarness harness;
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 24}, u"Christmas Eve"));
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna's birthday"));
    Form1 &form = harness.startWithoutPassword();
    named<MonthCalendar>(form, "monthview1")->setSelectedDate(QDate(2026, 11, 30));
    named<MonthCalendar>(form, "monthview1")->setSelectedDate(QDate(2026, 12, 4));
    writeADay(form);
    form.session().book().SavePage();
    form.show();
    ASSERT_TRUE(named<MonthCalendar>(form, "monthview1")->isBold(QDate(2026, 12, 24)));

    const QPixmap shot = form.grab();
    EXPECT_EQ(shot.deviceIndependentSize().toSize(), form.size());
    EXPECT_TRUE(shot.save(screenshotPath("form1")));

    ContrastCheck contrast = check("main window");
    contrast.control(form, *form.menuBar());
    checkMenus(contrast, *form.menuBar());
    checkHeadings(contrast, form);
    for (const char *name : {"cmbFontName", "cmbFontSize", "rtxt2", "rtxt", "Image2"})
        contrast.control(form, *named(form, name));
    MonthCalendar &calendar = *named<MonthCalendar>(form, "monthview1");
    for (const char *part : {"qt_calendar_monthbutton", "qt_calendar_yearbutton"})
        contrast.control(form, *calendar.findChild<QToolButton *>(QLatin1String(part)));
    // December 2026 begins on a Tuesday: its first row starts with 29 and 30 November.
    const auto cell = [&](int row, const char *shown, const char *name) {
        contrast.picture(QString::fromLatin1(name), calendar.grab(calendarCell(calendar, row, QString::fromLatin1(shown))).toImage());
    };
    cell(0, "M", "calendar: a weekday's name");
    cell(0, "S", "calendar: Sunday's name");
    cell(1, "3", "calendar: a weekday");
    cell(1, "5", "calendar: a Saturday");
    cell(1, "4", "calendar: the chosen day");
    cell(1, "30", "calendar: a day of the month before");
    cell(4, "24", "calendar: a marked day");
    contrast.expectReadable();
}

TEST_P(Screenshots, ThePrintAndPictureWindows)
{
    FormHarness harness;
    harness.withoutPassword();
    AppServices services = harness.services();
    services.printer = [] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        return printer;
    };
    harness.start(services);
    Form1 &form = *harness.form;
    writeADay(form);
    form.show();

    named<QAction>(form, "m17")->trigger();
    auto *print = form.findChild<QWidget *>(QStringLiteral("Frmprint"));
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->grab().save(screenshotPath("frmprint")));
    ContrastCheck printContrast = check("print window");
    for (const char *name : {"Command1", "rtxt"})
        printContrast.control(*print, *print->findChild<QWidget *>(QLatin1String(name)));
    printContrast.expectReadable();

    const QString photo = harness.data.path() + QStringLiteral("/holiday.png");
    ASSERT_TRUE(landscape().save(photo));
    harness.dialogs.answerOpenFile(photo);
    named<QAction>(form, "m16")->trigger();
    auto *picture = form.findChild<QWidget *>(QStringLiteral("Frmpicture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->grab().save(screenshotPath("frmpicture")));
    ContrastCheck pictureContrast = check("picture window");
    for (const char *name : {"Text1", "Combo1"})
        pictureContrast.control(*picture, *picture->findChild<QWidget *>(QLatin1String(name)));
    pictureContrast.expectReadable();
}

TEST_P(Screenshots, TheMainWindowMaximisedAndWithItsPanels)
{
    FormHarness harness;
    Form1 &form = harness.startWithoutPassword();
    writeADay(form);
    form.session().book().SavePage();
    form.show();

    named<QAction>(form, "m5")->trigger();
    named<QLineEdit>(form, "Text4")->setText(QStringLiteral("lake"));
    named<QPushButton>(form, "Command4")->click();
    ASSERT_GT(named<QListWidget>(form, "List1")->count(), 0);
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-search")));
    ContrastCheck search = check("search panel");
    search.picture(QStringLiteral("Frame5 caption"), named<QGroupBox>(form, "Frame5")->grab(captionOf(*named<QGroupBox>(form, "Frame5"))).toImage());
    const auto captions = form.findChildren<QLabel *>(QStringLiteral("Label6"));
    for (const char *name : {"Text4", "chkMatchCase", "chkTextOnly", "Command4", "Command1"})
        search.control(form, *named(form, name));
    for (QLabel *caption : captions)
        search.control(form, *caption);
    // The list's text, and its chosen match on the highlight.
    QListWidget &matches = *named<QListWidget>(form, "List1");
    matches.clearSelection();
    search.control(form, matches);
    matches.setCurrentRow(0);
    search.picture(QStringLiteral("List1: the chosen match"), matches.viewport()->grab(matches.visualItemRect(matches.item(0))).toImage());
    search.expectReadable();

    named<QPushButton>(form, "Command1")->click();
    named<QAction>(form, "openPanel")->trigger();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-open")));
    ContrastCheck open = check("open panel");
    open.picture(QStringLiteral("Frame3 caption"), named<QGroupBox>(form, "Frame3")->grab(captionOf(*named<QGroupBox>(form, "Frame3"))).toImage());
    for (QWidget *control : std::initializer_list<QWidget *>{named<FileListBox>(form, "File3"), named<QPushButton>(form, "Command3")})
        open.control(form, *control);
    open.expectReadable();
    named<QGroupBox>(form, "Frame3")->hide();

    // Maximised on a 1920x1080 desktop, its panel taking the rest.
    form.resize(1920, 1050);
    // The toolbar and calendar lay themselves out again as the event loop would.
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-maximised")));
    ContrastCheck maximised = check("main window maximised");
    checkHeadings(maximised, form);
    // The search left no page open and emptied the note, which gets its text again.
    named<RichTextEdit>(form, "rtxt")->setPlainText(QStringLiteral("Anna's birthday"));
    for (QWidget *control : std::initializer_list<QWidget *>{named<RichTextEdit>(form, "rtxt"), named<QLabel>(form, "Image2")})
        maximised.control(form, *control);
    maximised.expectReadable();
    form.resize(form.minimumSize());
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-smallest")));
}

TEST_P(Screenshots, ThePageHistoryAndTheLockBox)
{
    FormHarness harness;
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 4),
                                "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard Skating on the lake\\par\r\n}"));
    Form1 &form = harness.startWithoutPassword();
    form.show();
    QTest::keyClicks(named<RichTextEdit>(form, "rtxt2"), QStringLiteral("Later: "));
    harness.dialogs.answerMessage(Dialogs::Button::Yes);
    named<QAction>(form, "m2")->trigger();
    named<QAction>(form, "m21")->trigger();
    auto *history = form.findChild<PageHistoryWindow *>();
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(history->List1->count(), 1);
    EXPECT_TRUE(history->grab().save(screenshotPath("pagehistory")));
    ContrastCheck historyContrast = check("page history");
    historyContrast.control(*history, *history->Label1, QStringLiteral("Label1"));
    historyContrast.control(*history, *history->rtxt, QStringLiteral("rtxt"));
    for (QPushButton *button : history->buttons->findChildren<QPushButton *>())
        historyContrast.control(*history, *button, button->text().remove(QLatin1Char('&')));
    historyContrast.picture(QStringLiteral("List1: the chosen version"),
                            history->List1->viewport()->grab(history->List1->visualItemRect(history->List1->item(0))).toImage());
    history->List1->clearSelection();
    historyContrast.control(*history, *history->List1);
    historyContrast.expectReadable();
    history->close();

    LockBox box([](const QString &) { return false; });
    box.showLocked();
    box.Text1->setText(QStringLiteral("wrong"));
    box.Command1->click();
    ASSERT_TRUE(box.wrongPassword->isVisible());
    box.Text1->setText(QStringLiteral("typing"));
    EXPECT_TRUE(box.grab().save(screenshotPath("lockbox")));
    ContrastCheck lockContrast = check("lock box");
    lockContrast.control(box, *box.Label1, QStringLiteral("Label1"));
    for (QWidget *control : std::initializer_list<QWidget *>{box.Text1, box.wrongPassword, box.Command1})
        lockContrast.control(box, *control);
    lockContrast.expectReadable();
}

// A made-up year of writing, some days missed, some tagged, in the writing calendar.
TEST_P(Screenshots, TheWritingCalendar)
{
    FormHarness harness;
    const QStringList sentence = QStringLiteral("Walked by the river and wrote about the light on the water").split(u' ');
    for (QDate day(2026, 1, 1); day <= QDate(2026, 12, 4); day = day.addDays(1)) {
        const int seed = day.dayOfYear() * 7919 % 101;
        if (seed % 4 == 0)
            continue;
        QStringList words;
        for (int word = 0; word < seed * seed / 40 + 5; ++word)
            words.append(sentence[word % sentence.size()]);
        for (const auto &[every, tag] : {std::pair{9, "#garden"}, std::pair{14, "#reading"}, std::pair{40, "#trip"}})
            if (day.dayOfYear() % every == 0)
                words.append(QString::fromLatin1(tag));
        ASSERT_TRUE(pagestore::save(harness.data.root(), day, diarytexts::page(words.join(u' ').toLatin1().constData())));
    }
    Form1 &form = harness.startWithoutPassword();
    form.show();
    named<QAction>(form, "m32")->trigger();
    auto *window = form.findChild<GlanceWindow *>();
    ASSERT_NE(window, nullptr);
    named<QListWidget>(*window, "tags")->setCurrentRow(0);
    window->resize(window->sizeHint());
    EXPECT_TRUE(window->grab().save(screenshotPath("yearataglance")));
    ContrastCheck contrast = check("year at a glance");
    for (QLabel *label : window->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            contrast.control(*window, *label, label->text());
    contrast.expectReadable();
}

INSTANTIATE_TEST_SUITE_P(, Screenshots, ::testing::Values(Look::Light, Look::Dark),
                         [](const ::testing::TestParamInfo<Look> &info) { return std::string(lookName(info.param)); });
