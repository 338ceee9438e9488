#include "formharness.h"

#include "app/artwork.h"
#include "app/monthcalendar.h"
#include "diary/notestore.h"
#include "richtext/richtextedit.h"

#include <QDir>
#include <QGuiApplication>
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

void writeADay(Form1 &form)
{
    form.rtxt2->setSelFontName(QStringLiteral("Liberation Serif"));
    form.rtxt2->setSelFontSize(14);
    form.rtxt2->insertPlainText(QStringLiteral("Skating on the lake with Anna. "));
    form.rtxt2->setSelBold(true);
    form.rtxt2->insertPlainText(QStringLiteral("The ice held!"));
    form.rtxt2->setSelBold(false);
    form.rtxt2->insertPlainText(QStringLiteral("\n"));
    form.rtxt2->pastePicture(artwork::backgroundPicture().toImage().scaled(300, 196));
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
    form.show();
    ASSERT_TRUE(form.monthview1->isBold(QDate(2026, 12, 24)));

    const QPixmap shot = form.grab();
    EXPECT_EQ(shot.deviceIndependentSize().toSize(), form.size());
    EXPECT_TRUE(shot.save(screenshotPath("form1")));
}
