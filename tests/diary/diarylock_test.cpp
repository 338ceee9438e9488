#include "diary/diarylock.h"

#include "testdataroot.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using State = DiaryLock::State;

TEST(DiaryLock, OneHolderPerFolderUntilItLetsGo)
{
    TestDataRoot data;
    TestDataRoot other;
    {
        DiaryLock first(data.root());
        ASSERT_EQ(first.acquire(), State::Held);
        EXPECT_EQ(DiaryLock(DataRoot(data.path() + QStringLiteral("/pages/.."))).acquire(), State::HeldElsewhere);
        EXPECT_EQ(DiaryLock(other.root()).acquire(), State::Held);
    }
    EXPECT_EQ(DiaryLock(data.root()).acquire(), State::Held);
    EXPECT_EQ(data.everyName(QString()), (QStringList{"dates", "pages"})) << "the diary folder gains no file";
}

// A program killed with the diary open leaves its lock behind; the next start takes it over.
TEST(DiaryLock, TheLockOfAProgramThatIsGoneIsTakenOver)
{
    TestDataRoot data;
    const QString path = DiaryLock::lockPath(data.root());
    QByteArray written;
    {
        DiaryLock held(data.root());
        ASSERT_EQ(held.acquire(), State::Held);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        written = file.readAll();
    }
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForStarted());
    const QByteArray deadPid = QByteArray::number(gone.processId());
    ASSERT_TRUE(gone.waitForFinished());
    QFile left(path);
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write(deadPid + written.mid(written.indexOf('\n')));
    left.close();

    EXPECT_EQ(DiaryLock(data.root()).acquire(), State::Held);
}
