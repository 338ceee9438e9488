#include "diary/diarylock.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diarytexts.h"
#include "fileopens.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "scripteddialogs.h"
#include "session/daybook.h"
#include "session/diarysearch.h"
#include "session/diarysession.h"
#include "session/sessiondrafts.h"
#include "session/yearnotes.h"
#include "testapplication.h"
#include "testdataroot.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QSignalSpy>
#include <QTextCursor>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using namespace diarytexts;
using Button = Dialogs::Button;

const QString kSkating = u"Today we went skating"_s;

// A session on a diary of three pages and a note, signed in on 4 December 2026, without a window.
class DiarySessionTest : public ::testing::Test
{
protected:
    // The page number, the open page's name, its words and its changed flag.
    using Book = std::tuple<int, QString, QString, int>;

    void SetUp() override
    {
        testApplication();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        for (const auto &[day, text] : {std::pair{QDate(2026, 11, 20), "November page"}, {QDate(2026, 12, 1), "First of December"},
                                        {QDate(2026, 12, 4), "Today we went skating"}})
            ASSERT_TRUE(pagestore::save(data.root(), day, page(text)));
        ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 25}, u"Christmas"));
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
        start();
    }

    // A new session on the same folder; the one before ends as a killed program would.
    void start(std::initializer_list<Button> answers = {})
    {
        open();
        answer({Button::Ok});
        answer(answers);
        ASSERT_TRUE(session->signIn(program));
    }
    // A new session on the folder, not yet signed in.
    void open()
    {
        session.reset();
        session = std::make_unique<DiarySession>(dialogs, clock);
        session->setDataRoot(data.path());
    }
    void answer(std::initializer_list<Button> answers)
    {
        for (const Button button : answers)
            dialogs.answerMessage(button);
    }
    DayBook &book() { return session->book(); }
    // The words of today's page as stored.
    QString storedText() const
    {
        QTextDocument document;
        EXPECT_TRUE(richtext::readRtf(*pagestore::load(data.root(), QDate(2026, 12, 4)), document));
        return richtext::plainText(document);
    }
    void type(const QString &text, std::initializer_list<Button> answers = {})
    {
        QTextCursor(&book().page()).insertText(text);
        book().markChanged();
        answer(answers);
    }
    void save(std::initializer_list<Button> answers)
    {
        answer(answers);
        book().SavePage();
    }
    Book shows() { return {book().pageNumber(), book().openPageName(), pageText(), book().filechanged()}; }
    QString pageText() { return richtext::plainText(book().page()); }
    QString noteText() { return richtext::plainText(session->notes().note()); }
    // The drafts on disk once what is pending is written.
    QStringList draftNames()
    {
        session->drafts().flush();
        return data.everyName(TestDataRoot::drafts());
    }
    static ScriptedDialogs::Shown box(const messages::Box &box) { return ScriptedDialogs::shownBox(box); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    std::unique_ptr<DiarySession> session;
};

} // namespace

// Saving over a page and deleting one ask first, a refusal keeping the typing and
// its draft (No is the delete's default: Delete then Enter must not delete).
// Restoring a version is a save that keeps what it replaces, even of a deleted
// page. A print copy becomes the day's page, but the page's own typing stays marked.
TEST_F(DiarySessionTest, SavingDeletingRestoringAndThePrintCopyAskFirstAndKeepWhatTheyReplace)
{
    type(u"More: "_s);
    save({Button::No});
    EXPECT_EQ(std::tuple(dialogs.texts().last(), storedText(), book().filechanged(), draftNames()),
              std::tuple(kOverwrite, kSkating, 1, QStringList{u"page@2026-12-04.dat"_s})) << "still unsaved, and still drafted";
    save({Button::Yes});
    EXPECT_EQ(std::pair(storedText(), shows()),
              std::pair(u"More: Today we went skating"_s, Book(3, u"2026-12-04.dat"_s, u"More: Today we went skating"_s, 0)));
    const QList<history::Version> versions = book().pageVersions();
    ASSERT_EQ(versions.size(), 1);

    type(u"kept "_s, {Button::Yes, Button::No});
    EXPECT_EQ((std::pair{book().restorePageVersion(versions[0].id), pageText()}), std::pair(false, u"kept More: Today we went skating"_s))
        << "a refused save keeps the typing";
    answer({Button::No});
    ASSERT_TRUE(book().restorePageVersion(versions[0].id));
    EXPECT_EQ(std::tuple(dialogs.texts().last(), pageText(), storedText(), book().filechanged(), book().pageVersions().size()),
              std::tuple(kSaveQuestion, kSkating, kSkating, 0, 2));

    type(u"x"_s, {Button::No});
    book().DeletePage();
    EXPECT_EQ(std::tuple(dialogs.shown().last(), pagestore::exists(data.root(), QDate(2026, 12, 4)), book().filechanged()),
              std::tuple(box(messages::deletePage()), true, 1));
    answer({Button::Yes});
    book().DeletePage();
    EXPECT_EQ(std::tuple(pagestore::exists(data.root(), QDate(2026, 12, 4)), shows(), book().pages().size()),
              std::tuple(false, Book(0, QString(), QString(), 0), qsizetype(2)));
    type(u"y"_s, {Button::Ok, Button::No});
    book().DeletePage();
    EXPECT_EQ(std::tuple(dialogs.shown().last(), book().filechanged(), QGuiApplication::overrideCursor()),
              std::tuple(box(messages::pageNotFound()), 1, nullptr));
    ASSERT_TRUE(book().restorePageVersion(book().pageVersions()[0].id));
    EXPECT_EQ(std::pair(book().pageNumber(), book().openPageName()), std::pair(3, u"2026-12-04.dat"_s));

    type(u"unsaved "_s, {Button::Ok, Button::No, Button::Yes});
    QTextDocument copy;
    EXPECT_EQ(book().savePrintCopy(copy), DayBook::Stored::NoText);
    QTextCursor(&copy).insertText(u"Printed"_s);
    EXPECT_EQ((std::tuple{book().savePrintCopy(copy), book().savePrintCopy(copy), storedText(), pageText(), book().filechanged()}),
              std::tuple(DayBook::Stored::Refused, DayBook::Stored::Yes, u"Printed"_s, u"Printed"_s, 1));

    book().page().clear();
    QSignalSpy focus(&book(), &DayBook::pageWantsFocus);
    save({Button::Ok});
    EXPECT_EQ(std::pair(dialogs.shown().last(), focus.size()), std::pair(box(messages::noTextToSave()), qsizetype(1)));
}

// A save that a page button's question leads to can move the page number too:
// the page opened is the one the save ends on, not the button's. The buttons
// stop at the list's ends, and names that are no real day are never pages:
// saving one would write over the real day's page.
TEST_F(DiarySessionTest, ThePageListNumbersANewPageWhereverItIsSavedStopsAtItsEndsAndHoldsOnlyRealDays)
{
    session->chooseDay(QDate(2026, 12, 3));
    type(u"Snow"_s);
    book().SavePage();
    EXPECT_EQ(shows(), Book(3, u"2026-12-03.dat"_s, u"Snow"_s, 0));
    session->chooseDay(QDate(2026, 12, 2));
    type(u"Ice"_s, {Button::Yes});
    book().firstPage();
    EXPECT_EQ(std::pair(book().pages().size(), shows()), std::pair(qsizetype(5), Book(3, u"2026-12-02.dat"_s, u"Ice"_s, 0)));

    book().lastPage();
    book().nextPage();
    EXPECT_EQ(book().pageNumber(), 5);
    book().firstPage();
    book().previousPage();
    EXPECT_EQ(std::tuple(book().pageNumber(), pageText(), book().selectedDay(), session->notes().noteKey(), session->notes().month()),
              std::tuple(1, u"November page"_s, QDate(2026, 11, 20), u"Nov-20"_s, u"Nov"_s));

    for (const char *name : {"x", "2026-02-30.dat", "2026-13-01.dat", "2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat",
                             "2026-12-04 (conflicted copy 2026-12-04 183012).dat", "0000-12-04.dat", "2026-12-4.dat"})
        data.writeFile(u"pages/"_s + QLatin1String(name), page("not a page"));
    book().rereadPages();
    session->chooseDay(QDate(2026, 12, 3));
    EXPECT_EQ(std::pair(book().pages().size(), book().pageNumber()), std::pair(qsizetype(5), 4));
    book().lastPage();
    EXPECT_EQ(std::pair(book().openPageName(), session->search().search(u"not a page"_s)), std::pair(u"2026-12-04.dat"_s, QStringList()));

    ASSERT_TRUE(QDir(data.root().pagesDir()).removeRecursively());
    book().rereadPages();
    book().lastPage();
    EXPECT_EQ(shows(), Book(0, QString(), QString(), 0));
}

// Each way of moving reads the page and the note once and tells each of them
// once; only New File asks for the page's focus. (That today's page opens at
// sign-in, the saving and drafts tests show.)
TEST_F(DiarySessionTest, EveryMoveReadsAndTellsOnce)
{
    for (const char *note : {"Nov-20", "Dec-1", "Dec-4"})
        ASSERT_TRUE(notestore::save(data.root(), *daykeys::monthDayFromNoteKey(QString::fromLatin1(note)), u"A note"));
    const std::tuple<const char *, std::function<void()>, QDate> moves[] = {
        {"calendar", [&] { session->chooseDay(QDate(2026, 12, 1)); }, QDate(2026, 12, 1)},
        {"first page", [&] { book().firstPage(); }, QDate(2026, 11, 20)},
        {"next page", [&] { book().nextPage(); }, QDate(2026, 12, 1)},
        {"last page", [&] { book().lastPage(); }, QDate(2026, 12, 4)},
        {"previous page", [&] { book().previousPage(); }, QDate(2026, 12, 1)},
        {"Open list", [&] { book().openListed(0); }, QDate(2026, 11, 20)},
        {"New File", [&] { book().NewPage(); }, QDate(2026, 12, 4)},
        {"search result", [&] { session->search().openResult(u"2026-12-01.dat"_s); }, QDate(2026, 12, 1)},
    };
    FileOpens files({data.root().pagesDir(), data.root().datesDir()});
    for (const auto &[name, move, day] : moves) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::string_view(name) != "search result" || book().leavePageForSearch());
        files.take();
        QSignalSpy page(&book(), &DayBook::pageReplaced);
        QSignalSpy note(&session->notes(), &YearNotes::noteReplaced);
        QSignalSpy focus(&book(), &DayBook::pageWantsFocus);
        QSignalSpy dayChanged(&book(), &DayBook::dayChanged);
        QSignalSpy number(&book(), &DayBook::pageNumberChanged);
        QSignalSpy pageName(&book(), &DayBook::openPageNameChanged);
        move();
        EXPECT_LE(std::max({dayChanged.size(), number.size(), pageName.size()}), 1);
        EXPECT_EQ(files.take(), (QMap<QString, int>{{day.toString(Qt::ISODate) + u".dat"_s, 1}, {daykeys::noteKey(day) + u".dat"_s, 1}}));
        EXPECT_EQ(std::tuple(page.size(), note.size(), noteText(), focus.size()),
                  std::tuple(qsizetype(1), qsizetype(1), u"A note"_s, qsizetype(std::string_view(name) == "New File")));
    }
    EXPECT_EQ(std::pair(shows(), book().dayKey()), std::pair(Book(2, u"2026-12-01.dat"_s, u"First of December"_s, 0), u"2026-12-01"_s));
    session->chooseDay(QDate(2026, 12, 2));
    EXPECT_EQ(std::tuple(shows(), session->notes().noteKey(), noteText(), dialogs.shown().size(), QGuiApplication::overrideCursor()),
              std::tuple(Book(0, QString(), QString(), 0), u"Dec-2"_s, QString(), qsizetype(1), nullptr));
}

// The note's question comes first and Cancel leaves everything; a save the
// user then refuses keeps the typing, with no question asked twice.
TEST_F(DiarySessionTest, ADayChangeAsksItsQuestionsOnceAndARefusedSaveStays)
{
    QSignalSpy day(&book(), &DayBook::dayChanged);
    type(u"More: "_s, {Button::Cancel});
    QTextCursor(&session->notes().note()).insertText(u"Skates"_s);
    session->chooseDay(QDate(2026, 12, 1));
    answer({Button::No, Button::Yes, Button::No});
    session->chooseDay(QDate(2026, 12, 1));

    const auto note = box(messages::saveNote(u"December 4"_s));
    EXPECT_EQ(dialogs.shown().mid(1),
              (QList{note, note, box(messages::savePage()), box(messages::overwritePage())}));
    EXPECT_EQ(std::tuple(pageText(), book().filechanged(), book().selectedDay(), day.size(), day.last()[0].toDate()),
              std::tuple(u"More: Today we went skating"_s, 1, QDate(2026, 12, 4), qsizetype(2), QDate(2026, 12, 4)))
        << "the calendar goes back to the day shown";
}

// A wrong password, or a diary that a tool holds (named, the other window asked
// forward after the message and before the end), ends before anything is read.
TEST_F(DiarySessionTest, AWrongPasswordOrADiaryOpenElsewhereEndsBeforeAnythingIsRead)
{
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"private"));
    ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"secret"));
    open();
    dialogs.answerInput(u"guess"_s);
    answer({Button::Ok});
    EXPECT_TRUE(!session->signIn(program) && program.ended() && noteText().isEmpty() && book().dayKey().isEmpty());

    // A lock file that is no file is no lock: the diary stays shut, and says why.
    open();
    ASSERT_TRUE(QFile::remove(DiaryLock::lockPath(data.root())));
    ASSERT_EQ(::mkfifo(QFile::encodeName(DiaryLock::lockPath(data.root())).constData(), 0600), 0);
    answer({Button::Ok});
    EXPECT_FALSE(session->signIn(program));
    EXPECT_EQ(dialogs.texts().last(), u"This diary cannot be locked (%1: not a regular file), so it is not opened: another program "
                                      "could change it at the same time."_s.arg(DiaryLock::lockPath(data.root())));
    ASSERT_TRUE(QFile::remove(DiaryLock::lockPath(data.root())));

    open();
    DiaryLock held(data.root());
    ASSERT_EQ(held.acquire(u"quillnest-tool import"_s), DiaryLock::State::Held);
    answer({Button::Ok});
    const qsizetype before = dialogs.shown().size();
    std::optional<std::pair<qsizetype, int>> knocked;
    session->setOpenElsewhere([&] { knocked.emplace(dialogs.shown().size() - before, program.endCount()); });
    EXPECT_TRUE(!session->signIn(program) && program.endCount() == 3 && book().dayKey().isEmpty());
    EXPECT_EQ(knocked, std::make_pair(qsizetype(1), 2)) << "the message first, then the knock, then the end";
    const QString byTool =
        u"This diary is in use by quillnest-tool import (process %1); try again when it has finished."_s.arg(QCoreApplication::applicationPid());
    EXPECT_EQ(dialogs.shown().mid(before), QList{box(messages::diaryHeldElsewhere(byTool))}) << "no password asked";
}

// Search leaves no page open and a result opens it. The text search keeps what
// pages show between searches: every change of a page must show in the next one.
TEST_F(DiarySessionTest, SearchLeavesNoPageOpenAResultOpensItAndARepeatedSearchFollowsEveryChange)
{
    const textsearch::Options text{.matchCase = false, .textOnly = true};
    EXPECT_EQ(session->search().search(u"SKATING"_s, text), QStringList{u"2026-12-04.dat"_s});
    type(u"Sledging, "_s);
    save({Button::Yes});
    EXPECT_EQ(session->search().search(u"sledging skating"_s, text), QStringList{u"2026-12-04.dat"_s});
    EXPECT_EQ((std::pair{book().restorePageVersion(book().pageVersions()[0].id), session->search().search(u"sledging"_s, text)}), std::pair(true, QStringList()));

    type(u"Skating "_s, {Button::No});
    book().leavePageForSearch();
    EXPECT_EQ((std::tuple{shows(), session->search().search(u"December"_s), session->search().search(u"Skating"_s)}),
              std::tuple(Book(0, QString(), QString(), 0), QStringList{u"2026-12-01.dat"_s}, QStringList()));
    session->search().openResult(u"2026-12-01.dat"_s);
    EXPECT_EQ(pageText(), u"First of December"_s);
    answer({Button::Yes});
    book().DeletePage();
    EXPECT_EQ(session->search().search(u"december"_s, text), QStringList());
}

// The month shown at start-up has its note days marked, not only months moved
// to later. Yearly notes are saved, come back every year and are deleted.
TEST_F(DiarySessionTest, NoteDaysAreMarkedAndYearlyNotesAreSavedDeletedAndComeBackEveryYear)
{
    open();
    QSignalSpy marked(&session->notes(), &YearNotes::noteDayMarked);
    answer({Button::Ok});
    ASSERT_TRUE(session->signIn(program));
    EXPECT_EQ(std::pair(marked.size(), marked.value(0).value(0).toDate()), std::pair(qsizetype(1), QDate(2026, 12, 25)));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{2, 29}, u"Leap day"));
    session->notes().rereadNotes();
    session->chooseDay(QDate(2027, 2, 10));
    EXPECT_EQ(marked.size(), 1) << "2027 has no 29 February";
    session->chooseDay(QDate(2028, 1, 1));
    session->chooseDay(QDate(2028, 2, 1));
    EXPECT_EQ(marked.last()[0].toDate(), QDate(2028, 2, 29));

    session->chooseDay(QDate(2026, 12, 4));
    QTextCursor(&session->notes().note()).insertText(u"Grandma's birthday"_s);
    session->notes().saveNote();
    session->chooseDay(QDate(2027, 12, 5));
    session->chooseDay(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), u"Grandma's birthday"_s);
    session->notes().saveNote();
    EXPECT_EQ(data.readFile(u"dates/Dec-4.dat"_s), QByteArray("Grandma's birthday\r\n")) << "saving what was loaded never grows the note";

    marked.clear();
    answer({Button::Cancel});
    session->notes().deleteNote();
    EXPECT_EQ(std::pair(dialogs.shown().last(), notestore::exists(data.root(), daykeys::MonthDay{12, 4})),
              std::pair(box(messages::deleteNote()), true));
    answer({Button::Ok, Button::Ok});
    session->notes().deleteNote();
    EXPECT_EQ(std::pair(notestore::exists(data.root(), daykeys::MonthDay{12, 4}), noteText()), std::pair(false, QString()));
    EXPECT_EQ(std::pair(marked.size(), marked.value(0)), std::pair(qsizetype(1), QList<QVariant>{QDate(2027, 12, 4), false}));
    session->notes().deleteNote();
    EXPECT_EQ(dialogs.shown().last(), box(messages::noteNotFound()));
}

// A page brought back opens its own day and never replaces the stored page; the
// note of another day cannot follow it and waits in the history. Another
// computer's drafts, brought by a sync tool, are never offered here.
TEST_F(DiarySessionTest, AnUnsavedPageIsOfferedBackOnItsDayAfterAKillAndANoteOfAnotherDayWaitsInTheHistory)
{
    const QByteArray stored = data.readFile(u"pages/2026-12-01.dat"_s);
    session->chooseDay(QDate(2026, 12, 1));
    type(u"Sang. "_s);
    session->drafts().flush();
    data.writeFile(u".drafts/note@Jan-1.dat"_s, notestore::encodeNote(u"New year"));
    data.writeFile(TestDataRoot::drafts() + u"/page@1999-99-99.dat"_s, "not a day");
    ASSERT_TRUE(QDir(data.path()).mkpath(u".drafts/0another"_s));
    data.writeFile(u".drafts/0another/page@2026-12-02.dat"_s, data.readFile(u"pages/2026-12-01.dat"_s)); // typed on another computer

    start({Button::Yes});
    EXPECT_EQ(std::tuple(dialogs.shown().last(), book().dayKey(), pageText(), book().filechanged(), data.readFile(u"pages/2026-12-01.dat"_s),
                         history::versions(data.root(), data.root().notePath(u"Jan-1"_s)).size(), data.everyName(u".drafts/0another"_s)),
              std::tuple(box(messages::pageFound(false, QDate(2026, 12, 1))), u"2026-12-01"_s, u"Sang. First of December"_s, 1, stored,
                         qsizetype(1), QStringList{u"page@2026-12-02.dat"_s}));

    // Killed again before saving: the draft brought back is still there.
    start({Button::No});
    EXPECT_EQ(std::tuple(draftNames(), pageText(), book().filechanged()), std::tuple(QStringList{u"page@1999-99-99.dat"_s}, kSkating, 0));
    const auto versions = history::versions(data.root(), data.root().pagePath(QDate(2026, 12, 1)));
    EXPECT_TRUE(versions.size() == 1 && pagestore::loadFile(data.root(), versions[0].path)->contains("Sang.")) << "set aside, not deleted";

    start(); // each draft is offered once: another box here would fail the test
}

// A save or a No removes a page's draft (a No drops the typing, so no page of a
// new day is made). A note's draft comes back after a kill, and one left unsaved
// goes to the history.
TEST_F(DiarySessionTest, ASaveOrANoRemovesAPagesDraftAndAnUnsavedNoteComesBack)
{
    type(u"Again: "_s);
    session->drafts().flush();
    save({Button::Yes});
    EXPECT_TRUE(draftNames().isEmpty());

    session->chooseDay(QDate(2026, 12, 2));
    type(u"Dropped"_s);
    session->drafts().flush();
    answer({Button::No});
    session->chooseDay(QDate(2026, 12, 4));
    EXPECT_EQ(std::tuple(draftNames(), pagestore::exists(data.root(), QDate(2026, 12, 2)), pageText()),
              std::tuple(QStringList(), false, u"Again: Today we went skating"_s));

    session->notes().noteTyped();
    QTextCursor(&session->notes().note()).insertText(u"Grandma's birthday"_s);
    EXPECT_EQ(draftNames(), QStringList{u"note@Dec-4.dat"_s});
    start({Button::Yes});
    EXPECT_EQ(std::pair(dialogs.shown().last(), noteText()),
              std::pair(box(messages::noteFound(QDate(2026, 12, 4))), u"Grandma's birthday"_s));

    // Not saved when another day is chosen: the draft is kept.
    answer({Button::No});
    session->chooseDay(QDate(2026, 12, 5));
    EXPECT_TRUE(draftNames().isEmpty());
    const auto versions = history::versions(data.root(), data.root().notePath(u"Dec-4"_s));
    EXPECT_EQ(std::pair(versions.size(), notestore::decodeNote(notestore::loadFile(data.root(), versions.value(0).path).value_or(""))),
              std::pair(qsizetype(1), u"Grandma's birthday"_s));

    session->notes().noteTyped();
    QTextCursor(&session->notes().note()).insertText(u"Saved"_s);
    session->notes().saveNote();
    EXPECT_EQ(std::pair(draftNames(), notestore::load(data.root(), daykeys::MonthDay{12, 5})), std::pair(QStringList(), std::optional(QByteArray("Saved"))));
}
