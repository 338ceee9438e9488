#include "sync/presence.h"

#include "app/presencekeeper.h"
#include "scripteddialogs.h"
#include "seams/messages.h"

#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

const QDateTime kSince(QDate(2026, 12, 4), QTime(18, 30), Qt::UTC);

// Another computer's file, as its window last refreshed it.
void otherComputer(const TestDataRoot &data, const char *name, const QDateTime &refreshed)
{
    const QString file = QStringLiteral(".quillnest/open/%1-1a2b3c4d").arg(QLatin1String(name));
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral(".quillnest/open")));
    data.writeFile(file, QByteArray(name) + '\n' + kSince.toString(Qt::ISODate).toUtf8() + '\n');
    QFile touched(data.path() + u'/' + file);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite) && touched.setFileTime(refreshed, QFileDevice::FileModificationTime));
}

QStringList names(const QList<presence::Computer> &computers)
{
    QStringList found;
    for (const auto &computer : computers)
        found << computer.name + u'@' + computer.since.toString(Qt::ISODate);
    return found;
}

} // namespace

TEST(Presence, OtherComputersWithFreshFilesAreNamedAndThisOnesFileLastsAsLongAsItsWindow)
{
    TestDataRoot data;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    otherComputer(data, "desktop", now.addSecs(-presence::kFreshFor + 60));
    otherComputer(data, "old-laptop", now.addSecs(-presence::kFreshFor - 60));
    data.writeFile(QStringLiteral(".quillnest/open/garbage"), "no time\n");
    ASSERT_TRUE(presence::announce(data.path(), kSince));
    ASSERT_TRUE(presence::announce(data.path(), kSince)) << "a refresh";

    EXPECT_EQ(names(presence::others(data.path(), now)), QStringList{"desktop@" + kSince.toString(Qt::ISODate)});
    EXPECT_EQ(QFile::permissions(data.path() + QStringLiteral("/.quillnest/open/") + presence::thisComputer()) & 0x0077, 0);

    presence::withdraw(data.path());
    EXPECT_EQ(data.everyName(QStringLiteral(".quillnest/open")), QStringList({"desktop-1a2b3c4d", "garbage", "old-laptop-1a2b3c4d"}));
    for (const QString &name : data.everyName(QStringLiteral(".quillnest/open")))
        QFile::remove(data.path() + QStringLiteral("/.quillnest/open/") + name);
    ASSERT_TRUE(presence::announce(data.path(), kSince));
    presence::withdraw(data.path());
    EXPECT_FALSE(QDir(data.path()).exists(QStringLiteral(".quillnest"))) << "a diary open on one computer keeps its own files";
}

TEST(Presence, ADiaryOpenOnAnotherComputerIsSaidAtTheStartAndCancelQuits)
{
    for (const auto answer : {Dialogs::Button::Ok, Dialogs::Button::Cancel}) {
        SCOPED_TRACE(int(answer));
        TestDataRoot data;
        otherComputer(data, "desktop", QDateTime::currentDateTimeUtc());
        ScriptedDialogs dialogs;
        dialogs.answerMessage(answer);
        {
            PresenceKeeper keeper(data.path(), nullptr);
            EXPECT_EQ(keeper.admit(dialogs), answer == Dialogs::Button::Ok);
            EXPECT_EQ(data.everyName(QStringLiteral(".quillnest/open")).size(), answer == Dialogs::Button::Ok ? 2 : 1);
        }
        const QString since = QLocale().toString(kSince.toLocalTime(), QLocale::ShortFormat);
        EXPECT_EQ(dialogs.shown(), QList{ScriptedDialogs::shownBox(messages::openElsewhere(QStringLiteral("desktop"), since))});
        EXPECT_EQ(data.everyName(QStringLiteral(".quillnest/open")).size(), 1) << "only the other computer's file is left";
    }
}
