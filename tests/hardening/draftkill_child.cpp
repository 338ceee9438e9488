// Types into the diary's page through a session, a word every few
// milliseconds, saving now and then, until it is killed. It reports every
// word typed ("t N") and every save that returned ("s N") on its output.

#include "session/daybook.h"
#include "session/diarysession.h"
#include "session/sessiondrafts.h"

#include "fixedclock.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTimer>

#include <cstdio>

namespace {

// Some kills land while a draft stands, some just after a save removed it.
constexpr int kWordsBetweenSaves = 150;

void report(char what, int words)
{
    std::printf("%c %d\n", what, words);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3)
        return 2;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    DiarySession session(dialogs, clock);
    session.drafts().setDelay(std::chrono::milliseconds(QByteArray(argv[2]).toInt()));
    session.setDataRoot(QString::fromLocal8Bit(argv[1]));
    dialogs.answerMessage(Dialogs::Button::Ok);
    if (!session.signIn(program))
        return 1;
    int words = 0;
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        session.book().markChanged();
        QTextCursor cursor(&session.book().page());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("w%1 ").arg(++words));
        report('t', words);
        if (words % kWordsBetweenSaves == 0) {
            dialogs.answerMessage(Dialogs::Button::Yes);
            session.book().SavePage();
            report('s', words);
        }
    });
    typing.start(4);
    report('r', 0);
    return application.exec();
}
