#include "signedinsession.h"

#include <QSignalSpy>

using YearNotesTest = SignedInSession;

// The month shown at start-up has its note days marked, not only months moved to later.
TEST_F(YearNotesTest, NoteDaysAreMarkedFromTheStartAndWhenTheMonthChanges)
{
    TestDataRoot other;
    ASSERT_TRUE(notestore::save(other.root(), daykeys::MonthDay{12, 25}, u"Christmas"));
    ASSERT_TRUE(passwordfile::write(other.root().passwordFile(), u"none"));
    DiarySession fresh(dialogs, clock);
    QSignalSpy marked(&fresh.notes(), &YearNotes::noteDayMarked);
    dialogs.answerMessage(Button::Ok);
    fresh.setDataRoot(other.path());
    ASSERT_TRUE(fresh.signIn(program));
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked[0][0].toDate(), QDate(2026, 12, 25));

    ASSERT_TRUE(notestore::save(other.root(), daykeys::MonthDay{2, 29}, u"Leap day"));
    fresh.notes().rereadNotes();
    fresh.chooseDay(QDate(2027, 2, 10));
    EXPECT_EQ(marked.size(), 1) << "2027 has no 29 February";
    fresh.chooseDay(QDate(2028, 1, 1));
    fresh.chooseDay(QDate(2028, 2, 1));
    EXPECT_EQ(marked.last()[0].toDate(), QDate(2028, 2, 29));
}

TEST_F(YearNotesTest, YearlyNotesAreSavedDeletedAndComeBackEveryYear)
{
    QTextCursor(&session.notes().note()).insertText(QStringLiteral("Grandma's birthday"));
    session.notes().saveNote();
    EXPECT_EQ(data.readFile(QStringLiteral("dates/Dec-4.dat")), QByteArray("Grandma's birthday\r\n"));
    session.chooseDay(QDate(2027, 12, 5));
    EXPECT_TRUE(noteText().isEmpty());
    session.chooseDay(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), QStringLiteral("Grandma's birthday"));
    session.notes().saveNote();
    session.chooseDay(QDate(2027, 12, 5));
    session.chooseDay(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), QStringLiteral("Grandma's birthday")) << "saving and loading again never grows the note";

    QSignalSpy marked(&session.notes(), &YearNotes::noteDayMarked);
    dialogs.answerMessage(Button::Cancel);
    session.notes().deleteNote();
    EXPECT_EQ(dialogs.shown().last().defaultButton, Button::Cancel);
    EXPECT_TRUE(notestore::exists(data.root(), daykeys::MonthDay{12, 4}));
    dialogs.answerMessage(Button::Ok);
    session.notes().deleteNote();
    EXPECT_FALSE(notestore::exists(data.root(), daykeys::MonthDay{12, 4}));
    EXPECT_TRUE(noteText().isEmpty());
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked[0], (QList<QVariant>{QDate(2027, 12, 4), false}));

    dialogs.answerMessage(Button::Ok);
    session.notes().deleteNote();
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::noteNotFound()));
}
