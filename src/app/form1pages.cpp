#include "form1.h"

#include "ui/busycursor.h"
#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "seams/clock.h"
#include "seams/dialogs.h"

#include <QGroupBox>
#include <QLabel>

int Form1::pageNumber() const
{
    return text3Value.text().toInt();
}

void Form1::setPageNumber(qsizetype number)
{
    text3Value.set(QString::number(number));
}

void Form1::text3_Change()
{
    text3->setText(text3Value.text());
    if (m_pageNumberFollowsSave)
        return;
    AskToSavePage();
    if (pageNumber() == 0) {
        rtxt2->clear();
        Label3->clear();
        return;
    }
    OpenPage();
}

// The selected day's page, if the page list has one, becomes the open page.
// An entry is the day's when it is the day key and four more characters;
// compared in place, as this runs on every day change over a century of pages.
void Form1::lblvalue_Change()
{
    const QString key = lblvalue.text();
    const QStringList &entries = File3->entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!key.isEmpty() && entries[i].size() == key.size() + kFileSuffix.size() && entries[i].startsWith(key))
            setPageNumber(i + 1);
    }
}

void Form1::OpenPage()
{
    AskToSavePage();
    showBusyCursor();
    rtxt2->clear();
    rtxt->clear();
    const QString entry = File3->entries().value(pageNumber() - 1);
    // The file may have gone since the list was read, or be no page at all.
    if (const auto rtf = pagestore::loadFile(File3->path() + QLatin1Char('/') + entry)) {
        rtxt2->setTextRtf(*rtf);
        Label3->setText(entry);
    } else {
        Label3->clear();
        message(QStringLiteral("An error has occured! The file was not opened!"), QStringLiteral("ERROR"), Dialogs::Icon::Critical,
                Dialogs::Buttons::Ok);
    }
    if (const auto day = daykeys::dateFromDayKey(entry.chopped(qMin(entry.size(), kFileSuffix.size())))) {
        monthview1->setDate(*day);
        dtpickValue.set(daykeys::shortDate(*day));
        followDay(*day);
    }
    showNormalCursor();
}

void Form1::NewPage()
{
    AskToSavePage();
    const QDate today = m_services.clock->today();
    if (daykeys::fromShortDate(dtpickValue.text()) == today) {
        rtxt2->setFocus();
        return;
    }
    setPageNumber(0);
    rtxt2->clear();
    monthview1->setDate(today);
    dtpickValue.set(daykeys::shortDate(monthview1->date()));
    monthview1->setDate(today);
    lblvalue.set(daykeys::dayKey(monthview1->date()));
    followDay(today);
    rtxt2->setFocus();
    Timer1.start();
}

void Form1::DeletePage()
{
    showBusyCursor();
    const QString key = lblvalue.text();
    if (!pagestore::exists(dataRoot(), key)) {
        message(QStringLiteral("Error...File not found. Open file that you wish to delete and then press ''Delete''."),
                QStringLiteral("File Not Found"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        showNormalCursor();
        return;
    }
    if (message(QStringLiteral("Are you sure you want to delete the file? This can not be undone!"), QStringLiteral("Delete File?"),
                Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Button::No) == Dialogs::Button::No) {
        showNormalCursor();
        return;
    }
    // Only a page really deleted counts as unchanged: a refused delete keeps what was typed.
    if (const Outcome removed = pagestore::remove(dataRoot(), key); !removed) {
        message(QStringLiteral("An error has occured! The file was not deleted!"), QStringLiteral("ERROR"), Dialogs::Icon::Critical,
                Dialogs::Buttons::Ok);
        showNormalCursor();
        return;
    }
    filechanged = 0;
    File3->refresh();
    setPageNumber(0);
    rtxt2->clear();
    rtxt->clear();
    showNormalCursor();
    Timer1.start();
}

void Form1::AskToSavePage()
{
    if (filechanged != 1)
        return;
    if (message(QStringLiteral("File has been changed. Do you want to save the file?"), QStringLiteral("Save File?"),
                Dialogs::Icon::Question, Dialogs::Buttons::YesNo) == Dialogs::Button::No) {
        showNormalCursor();
        filechanged = 0;
        return;
    }
    SavePage();
}

// Writes the page of the selected day. The page stays marked as changed
// until it is really stored, so a failed or refused save never drops it.
void Form1::SavePage()
{
    showBusyCursor();
    if (!rtxt2->hasContent()) {
        message(QStringLiteral("Error...No text to save! Enter text first, then save the file."), QStringLiteral("File Not Saved"),
                Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        rtxt2->setFocus();
        showNormalCursor();
        return;
    }
    const QString key = lblvalue.text();
    if (pagestore::exists(dataRoot(), key)
        && message(QStringLiteral("File already exists. Overwrite File?"), QStringLiteral("Overwrite File?"), Dialogs::Icon::Question,
                   Dialogs::Buttons::YesNo) == Dialogs::Button::No) {
        showNormalCursor();
        return;
    }
    if (storePage(key, rtxt2->textRtf()))
        filechanged = 0;
    showNormalCursor();
}

bool Form1::storePage(const QString &key, const QByteArray &rtf)
{
    const bool tooLarge = rtf.size() > pagestore::kLargestPageText;
    if (tooLarge || !pagestore::save(dataRoot(), key, rtf)) {
        message(tooLarge ? QStringLiteral("An error has occured! The amount of the data is too large! The file was not saved!")
                         : QStringLiteral("An error has occured! The file was not saved!"),
                QStringLiteral("ERROR"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return false;
    }
    File3->refresh();
    Timer1.start();
    showSavedPage(key);
    return true;
}

// The saved page is the open one: its number and name show without reloading it.
void Form1::showSavedPage(const QString &key)
{
    const qsizetype index = File3->entries().indexOf(key + kFileSuffix);
    if (index < 0)
        return;
    m_pageNumberFollowsSave = true;
    setPageNumber(index + 1);
    m_pageNumberFollowsSave = false;
    Label3->setText(key + kFileSuffix);
}

void Form1::File3_Click()
{
    showBusyCursor();
    for (int row = 0; row < File3->count(); ++row) {
        if (File3->item(row)->isSelected())
            setPageNumber(row + 1);
    }
    Timer1.start();
    showNormalCursor();
}

void Form1::SSCommand1_Click()
{
    if (File3->count() > 0)
        setPageNumber(1);
}

void Form1::SSCommand2_Click()
{
    if (pageNumber() > 1)
        setPageNumber(pageNumber() - 1);
}

void Form1::SSCommand3_Click()
{
    if (pageNumber() < File3->entries().size())
        setPageNumber(pageNumber() + 1);
}

void Form1::SSCommand4_Click()
{
    setPageNumber(File3->entries().size());
}

void Form1::m3_Click()
{
    AskToSavePage();
    showOpenPanel();
}

void Form1::showOpenPanel()
{
    Frame3->show();
    Frame3->raise();
    File3->setFocus();
}

Dialogs::Button Form1::message(const QString &text, const QString &title, Dialogs::Icon icon, Dialogs::Buttons buttons,
                               std::optional<Dialogs::Button> defaultButton)
{
    return m_services.dialogs->message(text, title, icon, buttons, defaultButton.value_or(firstButton(buttons)));
}
