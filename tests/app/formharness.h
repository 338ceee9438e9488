#pragma once

// What the window tests use of the program, of Qt's controls and of the test support.
#include "app/form1.h"
#include "app/monthcalendar.h"
#include "app/progressbox.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "editor/richtextedit.h"
#include "history/pagehistorywindow.h"
#include "print/frmprint.h"
#include "session/daybook.h"
#include "session/sessiondrafts.h"

#include "diarytexts.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"
#include "testapplication.h"
#include "testdataroot.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

// A main window on a temporary data folder with scripted dialogs, a fixed
// today (4 December 2026 unless told) and a recorded end of the program.
class FormHarness
{
public:
    FormHarness();
    ~FormHarness() { close(); }

    // Stores no password, so the sign-in only shows its notice, answered here.
    void withoutPassword();
    void start() { start(services()); }
    Form1 &startWithoutPassword();
    // A window with services of the test's own, on a fresh session.
    void start(const AppServices &services);
    AppServices services();
    // The window closes and its session ends, letting the diary go.
    void close();

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    QList<QUrl> opened;
    // Whether a browser takes the addresses asked of it.
    bool browserOpens = true;
    QString developmentFolder;
    QString developmentDataFolder;
    spelling::Service *spelling = nullptr;
    QString settingsFile;
    reminder::Systemctl systemctl;
    std::unique_ptr<DiarySession> session;
    std::unique_ptr<Form1> form;
};

// A control or menu item of a window by the name the program's design gives it.
template <typename T = QWidget>
T *named(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no " << name;
    return found;
}

// The harness as a fixture, with short ways to the window's editors, calendar and commands.
class FormTest : public ::testing::Test
{
protected:
    using Button = Dialogs::Button;

    Form1 &form() const { return *harness.form; }
    RichTextEdit &page() const { return *named<RichTextEdit>(form(), "rtxt2"); }
    RichTextEdit &note() const { return *named<RichTextEdit>(form(), "rtxt"); }
    MonthCalendar &calendar() const { return *named<MonthCalendar>(form(), "monthview1"); }
    void run(const char *command) const { named<QAction>(form(), command)->trigger(); }
    void choose(QDate day) const { calendar().setSelectedDate(day); }
    void answer(std::initializer_list<Dialogs::Button> buttons);
    // A command whose messages are answered with these buttons, in order.
    void run(const char *command, std::initializer_list<Button> buttons);
    // The message texts shown last, oldest first.
    QStringList lastTexts(qsizetype count) const { return harness.dialogs.texts().mid(harness.dialogs.texts().size() - count); }
    void storePage(const char *day, const char *text) const;
    // The text of a day's stored page, empty without one.
    QString storedPage(const char *day) const;
    // As the mouse selects on the page: no key goes down.
    void selectOnPage(int from, int to) const;
    // Clicks the Search panel's button for a term, and the names it found.
    QStringList search(const QString &term) const;

    FormHarness harness;
};

// Typed at the end of an editor, as the user would.
void typeAtEnd(RichTextEdit &editor, const QString &text);
// The rows of a list, top to bottom.
QStringList itemTexts(const QListWidget &list);
