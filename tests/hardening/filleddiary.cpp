#include "filleddiary.h"

#include "app/monthcalendar.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"

#include <QTest>

void FilledDiary::SetUp()
{
    storePage("2026-11-20", "November page");
    storePage("2026-12-01", "First of December");
    storePage("2026-12-04", "Today we went skating");
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna's birthday"));
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{11, 20}, u"Caf\u00e9 \u20ac day"));
}

void FilledDiary::start()
{
    harness.startWithoutPassword();
    ASSERT_TRUE(form().startedUp());
}

QByteArray FilledDiary::page(const QString &text)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard " + text.toLatin1() + "\\par\r\n}";
}

void FilledDiary::storePage(const char *day, const char *text)
{
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate), page(QString::fromLatin1(text))));
}

void FilledDiary::type(const QString &text)
{
    QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), text);
}

void FilledDiary::choose(QDate day)
{
    named<MonthCalendar>(form(), "monthview1")->setSelectedDate(day);
}

void FilledDiary::expectError(const messages::Box &box) const
{
    ASSERT_FALSE(harness.dialogs.shown().isEmpty());
    ScriptedDialogs::Shown last = harness.dialogs.shown().last();
    if (!box.text.contains(QLatin1Char('\n')))
        last.text = last.text.section(QLatin1Char('\n'), 0, 0);
    EXPECT_EQ(last, ScriptedDialogs::shownBox(box));
}

QString FilledDiary::pageText() const
{
    return named<RichTextEdit>(form(), "rtxt2")->text();
}

QString FilledDiary::noteText() const
{
    return named<RichTextEdit>(form(), "rtxt")->text();
}
