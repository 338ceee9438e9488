#pragma once

#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diarytexts.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "scripteddialogs.h"
#include "session/daybook.h"
#include "session/diarysession.h"
#include "session/yearnotes.h"
#include "testapplication.h"
#include "testdataroot.h"

#include <QLocale>
#include <QTextCursor>

#include <gtest/gtest.h>

// A session on a diary of three pages and a note, signed in on 4 December 2026, without a window.
class SignedInSession : public ::testing::Test
{
protected:
    using Button = Dialogs::Button;

    void SetUp() override
    {
        testApplication();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        storePage("2026-11-20", "November page");
        storePage("2026-12-01", "First of December");
        storePage("2026-12-04", "Today we went skating");
        ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 25}, u"Christmas"));
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
        dialogs.answerMessage(Button::Ok);
        session.setDataRoot(data.path());
        ASSERT_TRUE(session.signIn(program));
    }

    void storePage(const char *day, const char *text)
    {
        ASSERT_TRUE(pagestore::save(data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate), diarytexts::page(text)));
    }
    bool pageExists(const char *day) const { return pagestore::exists(data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate)); }
    QString storedText(const char *day) const
    {
        QTextDocument document;
        EXPECT_TRUE(richtext::readRtf(*pagestore::load(data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate)), document));
        return richtext::plainText(document);
    }
    void type(const QString &text)
    {
        QTextCursor(&session.book().page()).insertText(text);
        session.book().markChanged();
    }
    QString pageText() { return richtext::plainText(session.book().page()); }
    QString noteText() { return richtext::plainText(session.notes().note()); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    DiarySession session{dialogs, clock};
};
