#include "signedinsession.h"

#include "diary/history.h"
#include "session/diarysearch.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>

using namespace diarytexts;

using DayBookTest = SignedInSession;

TEST_F(DayBookTest, UnsavedTypingIsOfferedForSavingOnceBeforeTheDayMoves)
{
    session.chooseDay(QDate(2026, 12, 2));
    type(QStringLiteral("A new day"));
    dialogs.answerMessage(Button::Yes);
    session.chooseDay(QDate(2026, 12, 3));
    EXPECT_EQ(dialogs.texts().last(), kSaveQuestion);
    EXPECT_EQ(storedText("2026-12-02"), QStringLiteral("A new day"));
    EXPECT_EQ(session.book().filechanged(), 0);

    type(QStringLiteral("dropped"));
    dialogs.answerMessage(Button::No);
    session.chooseDay(QDate(2026, 12, 1));
    EXPECT_FALSE(pageExists("2026-12-03"));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_EQ(dialogs.texts().count(kSaveQuestion), 2);
}

TEST_F(DayBookTest, SavingOverAPageAsksAndARefusalKeepsTheTyping)
{
    type(QStringLiteral("More: "));
    dialogs.answerMessage(Button::No);
    session.book().SavePage();
    EXPECT_EQ(dialogs.texts().last(), kOverwrite);
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 1);

    dialogs.answerMessage(Button::Yes);
    session.book().SavePage();
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("More: Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 0);
    EXPECT_EQ(session.book().pageNumber(), 3);

    session.book().page().clear();
    QSignalSpy focus(&session.book(), &DayBook::pageWantsFocus);
    dialogs.answerMessage(Button::Ok);
    session.book().SavePage();
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::noTextToSave()));
    EXPECT_EQ(focus.size(), 1);
}

// A save that a page button's question leads to can move the page number too:
// the page opened is the one the save ends on, not the button's.
TEST_F(DayBookTest, ANewPageGetsItsNumberInTheListWhereverItIsSaved)
{
    session.chooseDay(QDate(2026, 12, 3));
    type(QStringLiteral("Snow"));
    session.book().SavePage();
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-03.dat"));
    EXPECT_EQ(pageText(), QStringLiteral("Snow"));

    session.chooseDay(QDate(2026, 12, 2));
    type(QStringLiteral("Ice"));
    dialogs.answerMessage(Button::Yes);
    session.book().firstPage();
    EXPECT_EQ(session.book().pages().size(), 5);
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(pageText(), QStringLiteral("Ice"));
}

TEST_F(DayBookTest, DeletingAPage)
{
    type(QStringLiteral("x"));
    dialogs.answerMessage(Button::No);
    session.book().DeletePage();
    EXPECT_EQ(dialogs.texts().last(), kDeletePage);
    EXPECT_EQ(dialogs.shown().last().defaultButton, Button::No) << "Delete then Enter must not delete";
    EXPECT_TRUE(pageExists("2026-12-04"));
    EXPECT_EQ(session.book().filechanged(), 1);

    dialogs.answerMessage(Button::Yes);
    session.book().DeletePage();
    EXPECT_FALSE(pageExists("2026-12-04"));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(session.book().pageNumber(), 0);
    EXPECT_EQ(session.book().pages().size(), 2);
    EXPECT_EQ(session.book().filechanged(), 0);

    type(QStringLiteral("y"));
    dialogs.answerMessage(Button::Ok);
    session.book().DeletePage();
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::pageNotFound()));
    EXPECT_EQ(session.book().filechanged(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DayBookTest, PageButtonsWalkTheListAndStopAtItsEnds)
{
    session.book().previousPage();
    EXPECT_EQ(session.book().pageNumber(), 2);
    session.book().nextPage();
    session.book().nextPage();
    EXPECT_EQ(session.book().pageNumber(), 3);
    session.book().firstPage();
    EXPECT_EQ(pageText(), QStringLiteral("November page"));
    EXPECT_EQ(session.book().selectedDay(), QDate(2026, 11, 20));
    EXPECT_EQ(session.notes().noteKey(), QStringLiteral("Nov-20"));
    EXPECT_EQ(session.notes().month(), QStringLiteral("Nov"));
    session.book().previousPage();
    EXPECT_EQ(session.book().pageNumber(), 1);
    session.book().lastPage();
    EXPECT_EQ(session.book().dayKey(), QStringLiteral("2026-12-04"));

    for (const QString &name : QDir(data.root().pagesDir()).entryList(QDir::Files))
        QFile::remove(data.root().pagesDir() + QLatin1Char('/') + name);
    session.book().rereadPages();
    session.book().lastPage();
    EXPECT_EQ(session.book().pageNumber(), 0);
    EXPECT_TRUE(pageText().isEmpty());
}

TEST_F(DayBookTest, NewFileGoesBackToToday)
{
    QSignalSpy focus(&session.book(), &DayBook::pageWantsFocus);
    session.book().NewPage();
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    session.chooseDay(QDate(2026, 11, 2));
    session.book().NewPage();
    EXPECT_EQ(session.book().selectedDay(), QDate(2026, 12, 4));
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.notes().noteKey(), QStringLiteral("Dec-4"));
    EXPECT_EQ(focus.size(), 2);
}

TEST_F(DayBookTest, DamagedPagesOpenWithoutACrash)
{
    data.writeFile(QStringLiteral("pages/2026-12-02.dat"), QByteArray());
    data.writeFile(QStringLiteral("pages/2026-12-03.dat"), QByteArray("\x01\x02garbage\xff\r\n", 13));
    // Names that are no real day are never pages: saving one would write over the real day's page.
    for (const char *name : {"x", "2026-02-30.dat", "2026-13-01.dat", "2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat",
                             "2026-12-04 (conflicted copy 2026-12-04 183012).dat", "0000-12-04.dat", "2026-12-4.dat"})
        data.writeFile(QStringLiteral("pages/") + QLatin1String(name), page("not a page"));
    session.book().rereadPages();
    EXPECT_EQ(session.book().pages().size(), 5);
    session.chooseDay(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().isEmpty());
    session.chooseDay(QDate(2026, 12, 3));
    EXPECT_EQ(session.book().pageNumber(), 4);
    session.book().lastPage();
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-04.dat"));
    EXPECT_EQ(session.search().search(QStringLiteral("not a page")), QStringList());
}

// The copy becomes the day's page, but the page's own unsaved typing stays marked.
TEST_F(DayBookTest, ThePrintCopyIsStoredAsTheDaysPage)
{
    type(QStringLiteral("unsaved "));
    QTextDocument copy;
    dialogs.answerMessage(Button::Ok);
    EXPECT_EQ(session.book().savePrintCopy(copy), DayBook::Stored::NoText);
    QTextCursor(&copy).insertText(QStringLiteral("Printed"));
    dialogs.answerMessage(Button::No);
    EXPECT_EQ(session.book().savePrintCopy(copy), DayBook::Stored::Refused);
    dialogs.answerMessage(Button::Yes);
    EXPECT_EQ(session.book().savePrintCopy(copy), DayBook::Stored::Yes);
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Printed"));
    EXPECT_EQ(pageText(), QStringLiteral("Printed"));
    EXPECT_EQ(session.book().filechanged(), 1);
}

TEST_F(DayBookTest, RestoringAVersionIsASaveThatKeepsWhatItReplaces)
{
    EXPECT_TRUE(session.book().pageVersions().isEmpty());
    type(QStringLiteral("More: "));
    dialogs.answerMessage(Button::Yes);
    session.book().SavePage();
    const QList<history::Version> versions = session.book().pageVersions();
    ASSERT_EQ(versions.size(), 1);

    type(QStringLiteral("kept "));
    dialogs.answerMessage(Button::Yes);
    dialogs.answerMessage(Button::No);
    EXPECT_FALSE(session.book().restorePageVersion(versions[0].id)) << "a refused save keeps the typing";
    EXPECT_EQ(pageText(), QStringLiteral("kept More: Today we went skating"));

    dialogs.answerMessage(Button::No);
    ASSERT_TRUE(session.book().restorePageVersion(versions[0].id));
    EXPECT_EQ(dialogs.texts().last(), kSaveQuestion);
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 0);
    EXPECT_EQ(session.book().pageVersions().size(), 2);

    dialogs.answerMessage(Button::Yes);
    session.book().DeletePage();
    EXPECT_EQ(session.book().pageNumber(), 0);
    ASSERT_TRUE(session.book().restorePageVersion(session.book().pageVersions()[0].id));
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-04.dat"));
}
