#include "formharness.h"

#include "diary/ancestry.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "seentext.h"
#include "sync/copymerge.h"

#include <QHelpEvent>
#include <QListView>

namespace {

const char *const kCopy = "pages/2026-12-03.sync-conflict-20261203-183012-ABCDEFG.dat";

class SyncedTest : public FormTest
{
protected:
    // A copy the other computer saved over this computer's stored page, as its history tells, when grownFrom names that day.
    void arrives(const char *file, const char *text, const char *grownFrom = nullptr) const
    {
        const QByteArray bytes = pagestore::encodePage(diarytexts::page(text)).value();
        if (grownFrom) {
            ASSERT_TRUE(history::keep(harness.data.root(), harness.data.root().pagePath(QDate::fromString(QLatin1String(grownFrom), Qt::ISODate)),
                                      history::Unkept::Refuse, ancestry::idOf(bytes)).ok());
        }
        harness.data.writeFile(QString::fromLatin1(file), bytes);
    }
    void arrivesAsNote(const char *file, const char *text) const
    {
        harness.data.writeFile(QString::fromLatin1(file), notestore::encodeNote(QString::fromLatin1(text)));
    }
    QList<QStringList> comparedSides() const { return harness.dialogs.shown().last().sides; }
    // The bar's words, or nothing while it is hidden.
    QString barSays(const char *bar) const
    {
        const auto *shown = named(form(), bar);
        return shown->isHidden() ? QString() : shown->findChild<QLabel *>()->text();
    }
    QString tipOf(int day) const { return calendar().dateTextFormat(QDate(2026, 12, day)).toolTip(); }
    // As the window would see a sync tool's change: a bounded wait with the event loop running.
    static bool within2s(const std::function<bool()> &seen) { return QTest::qWaitFor(seen, 2000); }
};

} // namespace

// What needs no question merges at sign-in and is told once; the rest waits under a bar for the user's choice. A name
// or a page's line from the folder that looks like markup is shown as written wherever the window shows it: the bar
// above the page, the tips of On this day and of the search results.
TEST_F(SyncedTest, CopiesMergeAtSignInTheRestAreComparedFromTheBarAboveThePageAndNamesAndLinesAreShownAsWritten)
{
    const QString name = QStringLiteral("<i>Anna<img src=nowhere.png>");
    storePage("2025-12-04", name.toLatin1().constData());
    storePage("2026-12-02", "here");
    arrives(QStringLiteral("pages/2026-12-02 (%1's conflicted copy 2026-12-02).dat").arg(name).toUtf8().constData(), "there");
    storePage("2026-12-04", "Title\\par ours");
    arrives("pages/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat", "Title\\par ours\\par added there", "2026-12-04");
    storePage("2026-12-03", "here");
    arrives(kCopy, "there");
    arrivesAsNote("dates/Dec-4.dat", "note here");
    arrivesAsNote("dates/Dec-4.sync-conflict-20261204-183012-ABCDEFG.dat", "note there");
    harness.data.writeFile(QStringLiteral("pw.sync-conflict-20261204-183012-ABCDEFG.dat"), "other password file");
    answer({Button::Ok, Button::Ok, Button::Ok});
    harness.startWithoutPassword();
    const QAbstractItemModel &years = *named<QListView>(form(), "lstOnThisDay")->model();
    QStringList seen{seenText(years.index(0, 0).data(Qt::ToolTipRole).toString())};
    EXPECT_EQ(harness.dialogs.texts().first(),
              messages::passwordFileCopy(QStringLiteral("pw.sync-conflict-20261204-183012-ABCDEFG.dat"),
                                         QStringLiteral("Syncthing, 2026-12-04 18:30:12")).text);
    EXPECT_EQ(lastTexts(2), (QStringList{messages::copiesMerged({QStringLiteral("2026-12-04")}).text,
                                         messages::copiesWaiting({"2026-12-02", "2026-12-03", "the yearly note of Dec-4"}).text}));
    EXPECT_EQ(page().text(), QStringLiteral("Title\nours\nadded there"));
    auto &bar = *named(form(), "copyBar");
    // A note day stays bold under its mark.
    EXPECT_EQ(std::tuple(bar.isHidden(), QStringList({tipOf(2), tipOf(3), tipOf(4), tipOf(5)}), calendar().isBold(QDate(2026, 12, 4))),
              std::tuple(true, QStringList({messages::copyWaitingTip(), messages::copyWaitingTip(), messages::copyWaitingTip(), QString()}), true));

    EXPECT_EQ(barSays("noteCopyBar"), messages::noteChangedElsewhere(QStringLiteral("Syncthing, 2026-12-04 18:30:12")));
    harness.dialogs.answerCompare(2);
    named<QPushButton>(form(), "compareNoteCopy")->click();
    EXPECT_EQ(comparedSides(), (QList<QStringList>{{QStringLiteral("On this computer"), QStringLiteral("* note here")},
                                                   {QStringLiteral("The other version (Syncthing, 2026-12-04 18:30:12)"),
                                                    QStringLiteral("* note there")}}));
    EXPECT_EQ(std::tuple(note().toPlainText(), barSays("noteCopyBar"), tipOf(4)),
              std::tuple(QStringLiteral("note here\n\nThe other version (Syncthing, 2026-12-04 18:30:12):\nnote there"),
                         QString(), QString()));

    choose(QDate(2026, 12, 3));
    EXPECT_FALSE(bar.isHidden());
    harness.dialogs.answerCompare(std::nullopt);
    named<QPushButton>(form(), "compareCopy")->click();
    EXPECT_EQ(comparedSides(), (QList<QStringList>{{QStringLiteral("On this computer"), QStringLiteral("* here")},
                                                   {QStringLiteral("The other version (Syncthing, 2026-12-03 18:30:12)"),
                                                    QStringLiteral("* there")}}));
    EXPECT_TRUE(QFile::exists(harness.data.path() + u'/' + QLatin1String(kCopy))) << "Cancel settles nothing";
    harness.dialogs.answerCompare(2);
    named<QPushButton>(form(), "compareCopy")->click();
    EXPECT_EQ(std::tuple(page().text(), bar.isHidden(), tipOf(3), QFile::exists(harness.data.path() + u'/' + QLatin1String(kCopy))),
              std::tuple(QStringLiteral("here\n\nThe other version (Syncthing, 2026-12-03 18:30:12):\nthere"), true, QString(), false));

    choose(QDate(2026, 12, 2));
    const QLabel &said = *bar.findChild<QLabel *>();
    seen << seenText(said.text(), said.textFormat());
    run("m5");
    ASSERT_EQ(search(QStringLiteral("Anna")).size(), 1);
    QListWidget &found = *named<QListWidget>(form(), "List1");
    QHelpEvent tip(QEvent::ToolTip, found.visualItemRect(found.item(0)).center(), {});
    QApplication::sendEvent(found.viewport(), &tip);
    seen << seenText(found.item(0)->toolTip());
    EXPECT_EQ(seen.filter(name).size(), 3) << seen.join(u'|').toStdString();
}

// While the window is open: an untouched page or note shows another computer's version with a line saying so, a copy
// that arrives is marked and barred at once, a typed page is left for its save, and a pages/ put in place of the old
// one is watched in its turn.
TEST_F(SyncedTest, WhatArrivesWhileTheWindowIsOpenIsSeenAtOnce)
{
    storePage("2026-12-04", "morning");
    harness.startWithoutPassword();
    storePage("2026-12-04", "evening");
    arrivesAsNote("dates/Dec-4.dat", "arrived note");
    EXPECT_TRUE(within2s([&] { return page().text() == u"evening" && note().toPlainText() == u"arrived note"; }));
    EXPECT_EQ(std::tuple(barSays("copyBar"), barSays("noteCopyBar"), calendar().isBold(QDate(2026, 12, 4))),
              std::tuple(messages::pageArrived(), messages::noteArrived(), true));

    typeAtEnd(page(), QStringLiteral(" typed"));
    storePage("2026-12-04", "night");
    QDir root(harness.data.path());
    ASSERT_TRUE(root.rename(QStringLiteral("pages"), QStringLiteral("pages-old")) && root.mkdir(QStringLiteral("pages")));
    for (const char *day : {"2026-12-05", "2026-12-06"}) {
        storePage(day, "here");
        const QString copy = QStringLiteral("pages/%1.sync-conflict-20261205-183012-ABCDEFG.dat").arg(QLatin1String(day));
        arrives(copy.toLatin1().constData(), "there");
        EXPECT_TRUE(within2s([&] { return tipOf(QDate::fromString(QLatin1String(day), Qt::ISODate).day()) == messages::copyWaitingTip(); }))
            << day;
    }
    EXPECT_EQ(std::pair(page().text(), harness.session->book().filechanged()), std::pair(QStringLiteral("evening typed"), 1));

    answer({Button::No});
    choose(QDate(2026, 12, 5));
    EXPECT_EQ(barSays("copyBar"), messages::pageChangedElsewhere(QStringLiteral("Syncthing, 2026-12-05 18:30:12")));
}

// The page or note here and the one another computer saved meanwhile are merged, or compared, never one lost to
// the other; a note's lines that clash are both kept, the other's below.
TEST_F(SyncedTest, ASaveOverAPageOrNoteThatChangedUnderItMergesOrAsks)
{
    storePage("2026-12-04", "We went skating");
    const auto arrivedNote = [&](const char *text) { ASSERT_TRUE(notestore::save(harness.data.root(), {12, 4}, QString::fromLatin1(text)).ok()); };
    arrivedNote("skates\nscarf");
    harness.startWithoutPassword();
    typeAtEnd(note(), QStringLiteral(" warm"));
    arrivedNote("hot skates\nscarf");
    run("m9", {Button::Ok});
    typeAtEnd(note(), QStringLiteral(" here"));
    arrivedNote("hot skates\nscarf cold");
    run("m9", {Button::Ok});
    EXPECT_EQ(std::pair(lastTexts(2), note().toPlainText()),
              std::pair(QStringList{messages::noteMergedOnSave(false).text, messages::noteMergedOnSave(true).text},
                        QStringLiteral("hot skates\nscarf warm here\n\nFrom the other computer (saved there %1):\nhot skates\nscarf cold")
                            .arg(QFileInfo(harness.data.root().notePath(daykeys::MonthDay{12, 4})).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))));

    typeAtEnd(page(), QStringLiteral(" fast"));
    storePage("2026-12-04", "We went skating\\par And then tea");
    run("m2", {Button::Yes, Button::Ok});
    EXPECT_EQ(std::tuple(lastTexts(1), storedPage("2026-12-04"), page().text()),
              std::tuple(QStringList{messages::pageMergedOnSave().text}, QStringLiteral("We went skating fast\nAnd then tea"), storedPage("2026-12-04")));

    typeAtEnd(page(), QStringLiteral(" here"));
    storePage("2026-12-04", "We went skating fast\\par And then coffee");
    answer({Button::Yes});
    harness.dialogs.answerCompare(std::nullopt);
    run("m2");
    EXPECT_EQ(harness.session->book().filechanged(), 1) << "Cancel keeps the typing";
    answer({Button::Yes});
    harness.dialogs.answerCompare(1);
    run("m2");
    EXPECT_EQ(std::pair(storedPage("2026-12-04"), page().text()),
              std::pair(QStringLiteral("We went skating fast\nAnd then coffee"), QStringLiteral("We went skating fast\nAnd then coffee")));
    QStringList kept;
    for (const auto &version : harness.session->book().pageVersions()) {
        RichTextEdit reader;
        reader.setTextRtf(pagestore::loadFile(harness.data.root(), version.path, harness.data.root().pagePath(QDate(2026, 12, 4))).value());
        kept << reader.text();
    }
    EXPECT_TRUE(kept.contains(QStringLiteral("We went skating fast\nAnd then tea here"))) << kept.join(u'|').toStdString();
}
