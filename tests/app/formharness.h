#pragma once

#include "app/form1.h"

#include "fixedclock.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"
#include "testdataroot.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

#include <gtest/gtest.h>

// A main window on a temporary data folder with scripted dialogs, a fixed
// today (4 December 2026 unless told) and a recorded end of the program.
class FormHarness
{
public:
    FormHarness();
    ~FormHarness();

    // Stores no password, so the sign-in only shows its notice, answered here.
    void withoutPassword();
    void start();
    Form1 &startWithoutPassword();
    // A window with services of the test's own, on a fresh session.
    void start(const AppServices &services);
    // The window closes and its session ends, letting the diary go.
    void close();
    AppServices services();

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    QList<QUrl> opened;
    bool openSucceeds = true;
    QString developmentFolder;
    QString developmentDataFolder;
    spelling::Service *spelling = nullptr;
    QString settingsFile;
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
