#include "formharness.h"

#include "seentext.h"
#include "sync/copymerge.h"

#include <QHelpEvent>
#include <QListView>

namespace {

const char *const kCopy = "pages/2026-12-03.sync-conflict-20261203-183012-ABCDEFG.dat";

class SyncedTest : public FormTest
{
protected:
    void arrives(const char *file, const char *text) const
    {
        harness.data.writeFile(QString::fromLatin1(file), pagestore::encodePage(diarytexts::page(text)).value());
    }
    void arrivesAsPage(const char *day, const char *text) const { storePage(day, text); }
    QList<QStringList> comparedSides() const { return harness.dialogs.shown().last().sides; }
};

} // namespace

// What needs no question merges at sign-in and is told once; the rest waits under a bar for the user's choice.
TEST_F(SyncedTest, CopiesMergeAtSignInAndTheRestAreComparedFromTheBarAboveThePage)
{
    storePage("2026-12-04", "Title\\par ours");
    arrives("pages/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat", "Title\\par ours\\par added there");
    storePage("2026-12-03", "here");
    arrives(kCopy, "there");
    harness.data.writeFile(QStringLiteral("pw.sync-conflict-20261204-183012-ABCDEFG.dat"), "other password file");
    harness.dialogs.answerMessage(Button::Ok);
    harness.dialogs.answerMessage(Button::Ok);
    harness.startWithoutPassword();
    EXPECT_EQ(harness.dialogs.texts().first(),
              messages::passwordFileCopy(QStringLiteral("pw.sync-conflict-20261204-183012-ABCDEFG.dat"),
                                         QStringLiteral("Syncthing, ABCDEFG, 2026-12-04 18:30:12")).text);
    EXPECT_EQ(lastTexts(1), QStringList{messages::copiesMerged({QStringLiteral("2026-12-04")}).text});
    EXPECT_EQ(page().text(), QStringLiteral("Title\nours\nadded there"));
    auto &bar = *named(form(), "copyBar");
    EXPECT_TRUE(bar.isHidden());

    choose(QDate(2026, 12, 3));
    EXPECT_FALSE(bar.isHidden());
    harness.dialogs.answerCompare(std::nullopt);
    named<QPushButton>(form(), "compareCopy")->click();
    EXPECT_EQ(comparedSides(), (QList<QStringList>{{QStringLiteral("On this computer"), QStringLiteral("* here")},
                                                   {QStringLiteral("On the other computer (Syncthing, ABCDEFG, 2026-12-03 18:30:12)"),
                                                    QStringLiteral("* there")}}));
    EXPECT_TRUE(QFile::exists(harness.data.path() + u'/' + QLatin1String(kCopy))) << "Cancel settles nothing";
    harness.dialogs.answerCompare(2);
    named<QPushButton>(form(), "compareCopy")->click();
    EXPECT_EQ(page().text(), QStringLiteral("here\n\nFrom the other computer (Syncthing, ABCDEFG, 2026-12-03 18:30:12):\nthere"));
    EXPECT_TRUE(bar.isHidden());
    EXPECT_FALSE(QFile::exists(harness.data.path() + u'/' + QLatin1String(kCopy)));
}

// A name or a page's line from the folder that looks like markup is shown as written wherever the
// window shows it: the bar above the page, the tips of On this day and of the search results.
TEST_F(SyncedTest, NamesAndLinesFromTheFolderAreShownAsWrittenNeverAsMarkup)
{
    const QString name = QStringLiteral("<i>Anna<img src=nowhere.png>");
    storePage("2025-12-04", name.toLatin1().constData());
    storePage("2026-12-03", "here");
    arrives(QStringLiteral("pages/2026-12-03 (%1's conflicted copy 2026-12-03).dat").arg(name).toUtf8().constData(), "there");
    harness.startWithoutPassword();
    QStringList seen;
    const QAbstractItemModel &years = *named<QListView>(form(), "lstOnThisDay")->model();
    seen << seenText(years.index(0, 0).data(Qt::ToolTipRole).toString());
    choose(QDate(2026, 12, 3));
    const QLabel &bar = *named(form(), "copyBar")->findChild<QLabel *>();
    seen << seenText(bar.text(), bar.textFormat());
    run("m5");
    named<QLineEdit>(form(), "Text4")->setText(QStringLiteral("Anna"));
    named<QPushButton>(form(), "Command4")->click();
    QListWidget &found = *named<QListWidget>(form(), "List1");
    ASSERT_EQ(found.count(), 1);
    QHelpEvent tip(QEvent::ToolTip, found.visualItemRect(found.item(0)).center(), {});
    QApplication::sendEvent(found.viewport(), &tip);
    seen << seenText(found.item(0)->toolTip());
    EXPECT_EQ(seen.filter(name).size(), 3) << seen.join(u'|').toStdString();
}

// The page here and the one another computer saved meanwhile are merged, or compared, never one lost to the other.
TEST_F(SyncedTest, ASaveOverAPageThatChangedUnderItMergesOrAsks)
{
    storePage("2026-12-04", "We went skating");
    harness.startWithoutPassword();
    typeAtEnd(page(), QStringLiteral(" fast"));
    arrivesAsPage("2026-12-04", "We went skating\\par And then tea");
    answer({Button::Yes, Button::Ok});
    run("m2");
    EXPECT_EQ(lastTexts(1), QStringList{messages::pageMergedOnSave().text});
    EXPECT_EQ(std::pair(storedPage("2026-12-04"), page().text()),
              std::pair(QStringLiteral("We went skating fast\nAnd then tea"), QStringLiteral("We went skating fast\nAnd then tea")));

    typeAtEnd(page(), QStringLiteral(" here"));
    arrivesAsPage("2026-12-04", "We went skating fast\\par And then coffee");
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
