#include "formharness.h"

#include "app/monthcalendar.h"
#include "diary/notestore.h"
#include "editor/richtextedit.h"

#include <QPushButton>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

// Pictures of the windows for people to look at: at 100% and, when the
// suite runs with QT_SCALE_FACTOR=2, at 200%.
QString screenshotPath(const char *name)
{
    const QString folder = QStringLiteral(QUILLNEST_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    const int percent = qRound(qGuiApp->devicePixelRatio() * 100);
    return QStringLiteral("%1/%2-%3.png").arg(folder, QString::fromLatin1(name)).arg(percent);
}

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
    form.rtxt2->setSelFontName(QStringLiteral("Liberation Serif"));
    form.rtxt2->setSelFontSize(14);
    form.rtxt2->insertPlainText(QStringLiteral("Skating on the lake with Anna. "));
    form.rtxt2->setSelBold(true);
    form.rtxt2->insertPlainText(QStringLiteral("The ice held!"));
    form.rtxt2->setSelBold(false);
    form.rtxt2->insertPlainText(QStringLiteral("\n"));
    form.rtxt2->pastePicture(landscape());
    form.rtxt->setPlainText(QStringLiteral("Anna's birthday"));
}

} // namespace

TEST(Screenshots, TheMainWindowWithAPagePictureNoteAndBoldDates)
{
    FormHarness harness;
    ASSERT_TRUE(notestore::save(harness.data.root(), QStringLiteral("Dec-24"), u"Christmas Eve"));
    ASSERT_TRUE(notestore::save(harness.data.root(), QStringLiteral("Dec-4"), u"Anna's birthday"));
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    form.monthview1->setSelectedDate(QDate(2026, 11, 30));
    form.monthview1->setSelectedDate(QDate(2026, 12, 4));
    writeADay(form);
    form.session().SavePage();
    form.show();
    ASSERT_TRUE(form.monthview1->isBold(QDate(2026, 12, 24)));

    const QPixmap shot = form.grab();
    EXPECT_EQ(shot.deviceIndependentSize().toSize(), form.size());
    EXPECT_TRUE(shot.save(screenshotPath("form1")));
}

TEST(Screenshots, ThePrintAndPictureWindows)
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
    harness.form = std::make_unique<Form1>(services);
    Form1 &form = *harness.form;
    writeADay(form);
    form.show();

    form.m17->trigger();
    auto *print = form.findChild<QWidget *>(QStringLiteral("Frmprint"));
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->grab().save(screenshotPath("frmprint")));

    const QString photo = harness.data.path() + QStringLiteral("/holiday.png");
    ASSERT_TRUE(landscape().save(photo));
    harness.dialogs.answerOpenFile(photo);
    form.m16->trigger();
    auto *picture = form.findChild<QWidget *>(QStringLiteral("Frmpicture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->grab().save(screenshotPath("frmpicture")));
}

TEST(Screenshots, TheMainWindowMaximisedAndWithItsPanels)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    writeADay(form);
    form.session().SavePage();
    form.show();

    form.m5->trigger();
    form.Text4->setText(QStringLiteral("lake"));
    form.Command4->click();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-search")));
    form.Command1->click();
    form.openPanel->trigger();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-open")));
    form.Frame3->hide();

    // Maximised on a 1920x1080 desktop, its panel taking the rest.
    form.resize(1920, 1050);
    // The toolbar and calendar lay themselves out again as the event loop would.
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-maximised")));
    form.resize(form.minimumSize());
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.grab().save(screenshotPath("form1-smallest")));
}
