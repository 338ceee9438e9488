#include "diary/diarylock.h"

#include "diaryfixture.h"

#include <QSysInfo>

#include <cstdio>

#include <unistd.h>

using State = DiaryLock::State;
using DiaryLockTest = DiaryTest;

// The lock is in the diary folder, so a program started with another or no runtime folder still finds
// the diary taken; a planted link is not followed. A file left by a program that is gone, or synced from
// another computer, holds no flock and is taken over. To the second program, a window or a holder whose
// note is unreadable is "another Quillnest window".
TEST_F(DiaryLockTest, OneHolderPerFolderWhateverTheRuntimeFolderAWindowNamedAsSuchAndALeftLockFileTakenOver)
{
    for (const QString &holder : {DiaryLock::kWindowProgram, QStringLiteral("quillnest-tool export")}) {
        DiaryLock first(data.root());
        ASSERT_EQ(first.acquire(holder), State::Held);
        if (holder != DiaryLock::kWindowProgram)
            QFile::resize(DiaryLock::lockPath(data.root()), 0);
        DiaryLock second(data.root());
        EXPECT_EQ((std::pair{second.acquire(QStringLiteral("quillnest-tool import")), second.heldElsewhereMessage()}),
                  std::pair(State::HeldElsewhere, kDiaryAlreadyOpen)) << holder.toStdString();
    }
    TestDataRoot other;
    const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
    {
        DiaryLock first(data.root());
        ASSERT_EQ(first.acquire(), State::Held);
        for (const QByteArray &folder : {out.path().toUtf8(), QByteArray()}) {
            qputenv("XDG_RUNTIME_DIR", folder);
            EXPECT_EQ(DiaryLock(DataRoot(data.path() + QStringLiteral("/pages/.."))).acquire(), State::HeldElsewhere);
        }
        qputenv("XDG_RUNTIME_DIR", before);
        EXPECT_EQ(DiaryLock(other.root()).acquire(), State::Held);
    }
    DiaryLock held(data.root());
    ASSERT_EQ(held.acquire(QStringLiteral("quillnest-tool export")), State::Held);
    EXPECT_EQ(data.everyName(QString()), (QStringList{".quillnest-lock", "dates", "pages"}));
    EXPECT_EQ(data.readFile(QStringLiteral(".quillnest-lock")),
              QByteArray("quillnest-tool export\n") + QByteArray::number(::getpid()) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n');

    // A file renamed over the lock file while it is held locks nothing.
    data.writeFile(QStringLiteral("other"), "");
    ASSERT_EQ(::rename(QFile::encodeName(data.path() + QStringLiteral("/other")).constData(),
                       QFile::encodeName(DiaryLock::lockPath(data.root())).constData()), 0);
    EXPECT_EQ(DiaryLock(data.root()).acquire(), State::HeldElsewhere);

    const TestDataRoot planted;
    ASSERT_TRUE(QFile::link(out.filePath(QStringLiteral("victim")), DiaryLock::lockPath(planted.root())));
    EXPECT_EQ((std::pair{DiaryLock(planted.root()).acquire(), QFile::exists(out.filePath(QStringLiteral("victim")))}), std::pair(State::Unavailable, false));
}
