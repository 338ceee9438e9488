#include "export/rangeexport.h"
#include "export/rangepages.h"
#include "pictures.h"
#include "readers.h"
#include "samplepages.h"
#include "testdataroot.h"

#include "diskfull.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using rangeexport::Format;
using readers::names;

namespace {

// The outline's titles, each with the sheet it points at (from 1).
QStringList outline(const QString &pdf)
{
    const auto json = readers::output(QStringLiteral("qpdf"), {QStringLiteral("--json"), QStringLiteral("--json-key=outlines"), pdf});
    QStringList items;
    for (const QJsonValue item : QJsonDocument::fromJson(json.value_or(QString()).toUtf8())[QStringLiteral("outlines")].toArray())
        items.append(item[QStringLiteral("title")].toString() + u'@' + QString::number(item[QStringLiteral("destpageposfrom1")].toInt()));
    return items;
}

// The sheet of each picture.
QList<int> pictureSheets(const QString &pdf)
{
    QList<int> sheets;
    for (const readers::PdfPicture &picture : readers::pdfPictures(pdf))
        sheets.append(picture.sheet);
    return sheets;
}

struct Diary
{
    TestDataRoot data;

    Diary()
    {
        const QByteArray png = testpictures::encoded(testpictures::drawing(40, 30), "png");
        const QByteArray jpeg = testpictures::encoded(testpictures::photograph(), "jpeg");
        samplepages::store(data.root(), QStringLiteral("2024-03-04"), "Outside before\\par");
        samplepages::store(data.root(), QStringLiteral("2024-03-05"), "Fifth walrus\\par " + samplepages::pictureGroup(png, "pngblip", {40, 30}));
        samplepages::store(data.root(), QStringLiteral("2024-03-06"), "Sixth begins\\par" + samplepages::longBody("Sixth ends"));
        samplepages::store(data.root(), QStringLiteral("2024-03-07"),
                           "Seventh {\\b lighthouse}\\par " + samplepages::pictureGroup(jpeg, "jpegblip", {160, 120}));
        samplepages::store(data.root(), QStringLiteral("2024-03-09"), "Outside after\\par");
    }
};

} // namespace

TEST(PdfExport, HoldsEachDayOfTheRangeFromItsOwnSheetWithOutlineAndPictures)
{
    if (const QStringList absent = readers::missing({QStringLiteral("pdftotext"), QStringLiteral("pdfimages"), QStringLiteral("pdfinfo"),
                                                     QStringLiteral("qpdf")});
        !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    Diary diary;
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("range.pdf"));
    int calls = 0;
    const Outcome done = rangeexport::exportRange(diary.data.root(), {Format::Pdf, QDate(2024, 3, 5), QDate(2024, 3, 8), pdf},
                                                  [&](int done, int total) { return ++calls == done && total == 3; });
    ASSERT_TRUE(done) << done.error().toStdString();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(names(out.path()), QStringList{QStringLiteral("range.pdf")}) << "no part file is left";

    const QStringList sheets = readers::pdfSheets(pdf);
    ASSERT_GE(sheets.size(), 4);
    const QString fifth = rangeexport::dayTitle(QDate(2024, 3, 5));
    const QString sixth = rangeexport::dayTitle(QDate(2024, 3, 6));
    const QString seventh = rangeexport::dayTitle(QDate(2024, 3, 7));
    EXPECT_TRUE(sheets.first().startsWith(fifth + QStringLiteral("\nFifth walrus"))) << sheets.first().toStdString();
    EXPECT_TRUE(sheets[1].startsWith(sixth + QStringLiteral("\nSixth begins\nLine 1 of")));
    EXPECT_TRUE(sheets[sheets.size() - 2].contains(QStringLiteral("Sixth ends"))) << "the long page fills the sheets between";
    EXPECT_TRUE(sheets.last().startsWith(seventh + QStringLiteral("\nSeventh lighthouse")));
    const QString all = sheets.join(u'\f');
    for (int line = 1; line < 150; ++line) {
        EXPECT_LT(all.indexOf(QStringLiteral("Line %1 of").arg(line)), all.indexOf(QStringLiteral("Line %1 of").arg(line + 1)));
        EXPECT_EQ(all.count(QStringLiteral("Line %1 of a long day").arg(line)), 1) << "no line lost or drawn twice";
    }
    EXPECT_FALSE(all.contains(QStringLiteral("Outside")));

    const QString last = QString::number(sheets.size());
    EXPECT_EQ(outline(pdf), (QStringList{fifth + QStringLiteral("@1"), sixth + QStringLiteral("@2"), seventh + u'@' + last}));
    EXPECT_EQ(pictureSheets(pdf), (QList<int>{1, int(sheets.size())}));
    const QString info = readers::output(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    EXPECT_TRUE(info.contains(letter ? QStringLiteral("pts (letter)\n") : QStringLiteral("pts (A4)\n"))) << info.toStdString();
    EXPECT_TRUE(readers::bytesOf(pdf).contains("/PageMode /UseOutlines")) << "a reader opens with the outline shown";
}

TEST(PdfExport, StoppedOrFailedLeavesTheOldFileAndNoPart)
{
    Diary diary;
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("range.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old export") > 0);
    old.close();

    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, pdf}, [](int done, int) { return done < 3; }).error(),
              QStringLiteral("the export was stopped"));
    {
        const DiskFull full(20000);
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, pdf}));
    }
    const QString missing = out.filePath(QStringLiteral("no/such.pdf"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, missing}).error(),
              out.filePath(QStringLiteral("no")) + QStringLiteral(": the folder does not exist"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, out.path()}).error(), out.path() + QStringLiteral(" is a folder"));
    EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, QStringLiteral("/proc/quillnest.pdf")}));
    EXPECT_EQ(readers::bytesOf(pdf), QByteArray("the old export"));
    EXPECT_EQ(names(out.path()), QStringList{QStringLiteral("range.pdf")});
}
