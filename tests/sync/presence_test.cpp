#include "sync/presence.h"

#include "app/presencekeeper.h"
#include "scripteddialogs.h"
#include "seams/messages.h"

#include "testdataroot.h"

#include <gtest/gtest.h>

// A window that ended without removing its file stops counting once the file is stale; a garbled file never counts.
TEST(Presence, AStartSaysWhichOtherComputerHasTheDiaryOpenCancelQuitsAndEachWindowsFileGoesWithIt)
{
    TestDataRoot data;
    const QDateTime since(QDate(2026, 12, 4), QTime(18, 30), Qt::UTC);
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral(".quillnest/open")));
    for (const auto &[name, age] : {std::pair("desktop", presence::kFreshFor - 60), std::pair("laptop", presence::kFreshFor + 60)}) {
        const QString file = QStringLiteral(".quillnest/open/%1-1a2b3c4d").arg(QLatin1String(name));
        data.writeFile(file, QByteArray(name) + '\n' + since.toString(Qt::ISODate).toUtf8() + '\n');
        QFile touched(data.path() + u'/' + file);
        ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
        touched.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-age), QFileDevice::FileModificationTime);
    }
    data.writeFile(QStringLiteral(".quillnest/open/garbled"), "no time\n");
    const auto others = [&] { return data.everyName(QStringLiteral(".quillnest/open")).size() - 1; };

    ScriptedDialogs dialogs;
    dialogs.answerMessage(Dialogs::Button::Cancel);
    EXPECT_FALSE(PresenceKeeper(data.path(), nullptr).admit(dialogs));
    EXPECT_EQ(others(), 2);
    dialogs.answerMessage(Dialogs::Button::Ok);
    {
        PresenceKeeper keeper(data.path(), nullptr);
        EXPECT_TRUE(keeper.admit(dialogs));
        EXPECT_EQ(others(), 3);
        EXPECT_EQ(QFile::permissions(data.path() + QStringLiteral("/.quillnest/open/") + presence::thisComputer()) & 0x0077, 0);
    }
    const auto box = ScriptedDialogs::shownBox(
        messages::openElsewhere(QStringLiteral("desktop"), QLocale().toString(since.toLocalTime(), QLocale::ShortFormat)));
    EXPECT_EQ(std::pair(dialogs.shown(), others()), std::pair(QList({box, box}), qsizetype(2)));

    TestDataRoot alone;
    EXPECT_TRUE(PresenceKeeper(alone.path(), nullptr).admit(dialogs));
    EXPECT_FALSE(QDir(alone.path()).exists(QStringLiteral(".quillnest"))) << "a diary open on one computer keeps its own files";
}
