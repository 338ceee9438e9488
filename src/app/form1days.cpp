#include "form1.h"

#include "ui/busycursor.h"
#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "editor/richtextedit.h"
#include "seams/dialogs.h"

#include <QLabel>

// The date the user chose on the calendar becomes the selected day.
void Form1::monthview1_DateChosen()
{
    AskToSavePage();
    showBusyCursor();
    text3Value.set(QStringLiteral("0"));
    Label3->clear();
    rtxt2->clear();
    dtpickValue.set(daykeys::shortDate(monthview1->date()));
    Text2.set(daykeys::noteKey(selectedDay()));
    loadNote();
    txtm.set(daykeys::month(selectedDay()));
    Timer1.start();
    showNormalCursor();
}

QDate Form1::selectedDay() const
{
    return daykeys::fromShortDate(dtpickValue.text()).value_or(monthview1->date());
}

void Form1::dtpick_Change()
{
    dtpick->setText(dtpickValue.text());
    dtpickValue.set(daykeys::shortDate(monthview1->date()));
    monthview1->setDate(selectedDay());
    lblvalue.set(daykeys::dayKey(monthview1->date()));
}

// Opening a page or going back to today moves the selected day too: the note
// and the month follow it, so Save Date never writes one day's note to another.
void Form1::followDay(QDate day)
{
    Text2.set(daykeys::noteKey(day));
    loadNote();
    txtm.set(daykeys::month(day));
}

void Form1::Timer1_Timer()
{
    if (lblvalue.text().isEmpty())
        return;
    lblvalue.set(daykeys::dayKey(monthview1->date()));
    Timer1.stop();
}

// Marks in bold the days of the shown month that have a yearly note.
void Form1::txtm_Change()
{
    const int year = selectedDay().year();
    for (const QString &name : File2.entries()) {
        if (name.section(QLatin1Char('-'), 0, 0) != txtm.text() || !name.endsWith(kFileSuffix))
            continue;
        const auto monthDay = daykeys::monthDayFromNoteKey(name.chopped(kFileSuffix.size()));
        const QDate day = monthDay ? QDate(year, monthDay->month, monthDay->day) : QDate();
        if (day.isValid())
            monthview1->markBold(day);
    }
    Timer1.start();
}

void Form1::loadNote()
{
    rtxt->clear();
    if (const auto bytes = notestore::load(dataRoot(), Text2.text()))
        rtxt->loadBytes(*bytes);
}

void Form1::Text2_Change()
{
    showBusyCursor();
    loadNote();
    Timer1.start();
    showNormalCursor();
}

void Form1::m9_Click()
{
    const Outcome saved = notestore::save(dataRoot(), Text2.text(), rtxt->text());
    if (!saved) {
        m_services.dialogs->message(QStringLiteral("An error has occured! The date was not saved!"), QStringLiteral("ERROR"),
                                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    }
    File2.refresh();
    Timer1.start();
}

void Form1::m10_Click()
{
    showBusyCursor();
    const QString key = Text2.text();
    if (!notestore::exists(dataRoot(), key)) {
        m_services.dialogs->message(
            QStringLiteral("Error...File not found. Open date file that you wish to delete and then press ''Delete''."),
            QStringLiteral("File Not Found"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        showNormalCursor();
        return;
    }
    const auto answer = m_services.dialogs->message(
        QStringLiteral("Are you sure you want to delete this file? You will not be able to undo this operation!"),
        QStringLiteral("Delete File"), Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel, Dialogs::Button::Cancel);
    if (answer == Dialogs::Button::Ok)
        deleteNote(key);
    showNormalCursor();
}

void Form1::deleteNote(const QString &key)
{
    if (!notestore::remove(dataRoot(), key)) {
        m_services.dialogs->message(QStringLiteral("An error has occured! The date was not deleted!"), QStringLiteral("ERROR"),
                                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    rtxt->clear();
    File2.refresh();
    Timer1.start();
    if (const auto monthDay = daykeys::monthDayFromNoteKey(key))
        monthview1->clearBold(QDate(selectedDay().year(), monthDay->month, monthDay->day));
}
