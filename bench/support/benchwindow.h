#pragma once

#include "quietdialogs.h"

#include "app/appservices.h"
#include "app/form1.h"
#include "seams/clock.h"
#include "seams/program.h"
#include "session/diarysession.h"

#include <QDate>
#include <QObject>

// What a benchmark hands its main window: quiet dialogs answering `answer`,
// a fixed today, an end of the program that does nothing and no browser.
class BenchWindowServices
{
public:
    BenchWindowServices(const QString &folder, QDate today, Dialogs::Button answer) : dialogs(answer), m_clock(today)
    {
        services.dialogs = &dialogs;
        services.clock = &m_clock;
        services.program = &m_program;
        services.openUrl = [](const QUrl &) { return true; };
        services.startDirectory = folder;
    }

    QuietDialogs dialogs;
    AppServices services;

private:
    class FixedDay final : public Clock
    {
    public:
        explicit FixedDay(QDate day) : m_day(day) {}
        QDate today() const override { return m_day; }

    private:
        QDate m_day;
    };

    class NoEnd final : public Program
    {
    public:
        void end() override {}
    };

    FixedDay m_clock;
    NoEnd m_program;
};

// The main window on a session of its own, as the program builds them.
struct BenchWindow
{
    explicit BenchWindow(const AppServices &services) : session(*services.dialogs, *services.clock), form(services, session) {}

    DiarySession session;
    Form1 form;
};

// A control of the main window by the name the program's design gives it.
template <typename T>
T &control(const QObject &window, const char *name)
{
    return *window.findChild<T *>(QString::fromLatin1(name));
}
