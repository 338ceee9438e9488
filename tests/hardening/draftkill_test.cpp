#include "testdataroot.h"

#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "scripteddialogs.h"
#include "session/daybook.h"
#include "session/diarysession.h"
#include "testapplication.h"

#include <QDir>
#include <QProcess>

#include <chrono>
#include <random>

#include <gtest/gtest.h>

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kDelay(200);
// Room for a loaded machine to schedule the child's timer and write.
constexpr milliseconds kSlack(500);

// The words the child typed up to the moment each report was read here.
struct Reports
{
    std::vector<std::pair<Steady::time_point, int>> typed;
    int lastSave = 0;

    void read(QProcess &child)
    {
        while (child.canReadLine()) {
            const QList<QByteArray> line = child.readLine().trimmed().split(' ');
            if (line.value(0) == "t")
                typed.emplace_back(Steady::now(), line.value(1).toInt());
            else if (line.value(0) == "s")
                lastSave = line.value(1).toInt();
        }
    }
    int typedBy(Steady::time_point moment) const
    {
        int words = 0;
        for (const auto &[when, count] : typed)
            words = when <= moment ? count : words;
        return words;
    }
};

QString typedText(int words)
{
    QString text;
    for (int word = 1; word <= words; ++word)
        text += QStringLiteral("w%1 ").arg(word);
    return text;
}

// How many words a page's text is, or -1 when it is not what the child typed.
int wordsIn(const QString &text)
{
    const int words = int(text.count(QLatin1Char(' ')));
    return text == typedText(words) ? words : -1;
}

QString pageText(const QString &file)
{
    const auto rtf = pagestore::loadFile(DataRoot(QString()), file);
    if (!rtf)
        return QString();
    QTextDocument document;
    EXPECT_TRUE(richtext::readRtf(*rtf, document));
    return richtext::plainText(document);
}

// The start after the kill: the lock is taken over and the draft offered back.
QString broughtBack(const TestDataRoot &data)
{
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    DiarySession session(dialogs, clock);
    dialogs.answerMessage(Dialogs::Button::Ok);
    dialogs.answerMessage(Dialogs::Button::Yes);
    session.setDataRoot(data.path());
    if (!session.signIn(program))
        return QStringLiteral("(the diary stayed locked)");
    return richtext::plainText(session.book().page());
}

} // namespace

// A child typing steadily is killed at random moments: each time the draft
// found at the next start is whole and holds all but the last moments of
// typing, and the stored page is exactly one the child saved.
TEST(DraftKillTest, AHundredKilledSessionsLoseNothingTypedBeforeTheLastMoments)
{
    testApplication();
    TestDataRoot data;
    ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
    const QString draft = data.path() + QStringLiteral("/.drafts/page@2026-12-04.dat");
    const QString stored = data.root().pagePath(QStringLiteral("2026-12-04"));
    std::mt19937 random(16);
    std::uniform_int_distribution<int> moment(100, 1500);
    int roundsWithADraft = 0;
    for (int round = 0; round < 100; ++round) {
        QDir(data.path() + QStringLiteral("/.drafts")).removeRecursively();
        QFile::remove(stored);
        QProcess child;
        child.start(QStringLiteral(DRAFTKILL_CHILD), {data.path(), QString::number(kDelay.count())});
        ASSERT_TRUE(child.waitForReadyRead(20000)) << "round " << round;
        Reports reports;
        const Steady::time_point killed = Steady::now() + milliseconds(moment(random));
        while (Steady::now() < killed) {
            child.waitForReadyRead(5);
            reports.read(child);
        }
        child.kill();
        ASSERT_TRUE(child.waitForFinished(20000));
        reports.read(child);

        const int drafted = wordsIn(pageText(draft));
        const int saved = wordsIn(pageText(stored));
        ASSERT_GE(drafted, 0) << "round " << round << ": the draft is not whole";
        ASSERT_GE(saved, reports.lastSave) << "round " << round << ": the stored page is not the last one saved";
        EXPECT_GE(std::max(drafted, saved), reports.typedBy(killed - kDelay - kSlack)) << "round " << round;
        if (drafted > 0) {
            ++roundsWithADraft;
            EXPECT_EQ(broughtBack(data), typedText(drafted)) << "round " << round;
        }
    }
    EXPECT_GT(roundsWithADraft, 50);
}
