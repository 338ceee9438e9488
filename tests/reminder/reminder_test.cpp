#include "diary/pagestore.h"
#include "reminder/reminderdue.h"
#include "reminder/reminderunits.h"
#include "tool/notifications.h"
#include "tool/toolsupport.h"
#include "vault/keyslot.h"
#include "vault/vault.h"

#include "testapplication.h"
#include "testdataroot.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QDate kToday(2026, 12, 4);

QDateTime at(QDate day, int hour, int minute, int second = 0)
{
    return QDateTime(day, QTime(hour, minute, second));
}

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : u"(none)"_s;
}

// The user's configuration folder moved to a temporary one while a test runs.
class ConfigHome
{
public:
    ConfigHome() : m_own(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path())); }
    ~ConfigHome() { m_own.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", m_own); }

private:
    QTemporaryDir m_dir;
    QByteArray m_own;
};

} // namespace

// Only the page's name and size are looked at: a sealed page counts as written without its diary being opened.
TEST(Reminder, RemindsOnceADayOnceItsTimeHasComeAndOnlyWhileTodayHasNoPage)
{
    enum class Today { None, Empty, Written, Sealed };
    const reminder::Settings on{.on = true, .time = QTime(20, 0), .lastReminded = kToday.addDays(-1)};
    struct Row
    {
        const char *why;
        reminder::Settings settings;
        Today page;
        QDateTime now;
        bool due;
    } rows[]{
        {"on the minute, no page", on, Today::None, at(kToday, 20, 0), true},
        {"a second before", on, Today::None, at(kToday, 19, 59, 59), false},
        {"late in the evening", on, Today::None, at(kToday, 23, 59, 59), true},
        {"an empty page is no page", on, Today::Empty, at(kToday, 21, 0), true},
        {"today written", on, Today::Written, at(kToday, 21, 0), false},
        {"today written in an encrypted diary", on, Today::Sealed, at(kToday, 21, 0), false},
        {"switched off", {.on = false, .time = QTime(20, 0), .lastReminded = {}}, Today::None, at(kToday, 21, 0), false},
        {"reminded already today", {.on = true, .time = QTime(20, 0), .lastReminded = kToday}, Today::None, at(kToday, 21, 0), false},
        {"never reminded yet", {.on = true, .time = QTime(0, 0), .lastReminded = {}}, Today::None, at(kToday, 0, 0), true},
        {"the next day, yesterday's page written", on, Today::None, at(kToday.addDays(1), 20, 0), true},
    };
    for (const Row &row : rows) {
        TestDataRoot data;
        const DataRoot sealed(data.path(), std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{}));
        if (row.page == Today::Empty)
            data.writeFile(u"pages/2026-12-04.dat"_s, {});
        if (row.page == Today::Written)
            data.writeFile(u"pages/2026-12-04.dat"_s, "{\\rtf1 today}");
        if (row.page == Today::Sealed) {
            ASSERT_TRUE(pagestore::save(sealed, kToday, "{\\rtf1 today}").ok());
        }
        EXPECT_EQ(reminder::due(row.settings, data.root(), row.now), row.due) << row.why;
    }
}

TEST(Reminder, SettingsKeepTheSwitchItsTimeAndTheDayLastReminded)
{
    const QTemporaryDir dir;
    const QString file = dir.filePath(u"quillnest.conf"_s);
    EXPECT_EQ(reminder::read(file), (reminder::Settings{.on = false, .time = QTime(20, 0), .lastReminded = {}})) << "off as shipped";
    reminder::markReminded(file, kToday);
    reminder::writeChoice(file, true, QTime(7, 5));
    EXPECT_EQ(reminder::read(file), (reminder::Settings{.on = true, .time = QTime(7, 5), .lastReminded = kToday}));
    reminder::writeChoice(file, false, QTime(7, 5));
    EXPECT_EQ(reminder::read(file), (reminder::Settings{.on = false, .time = QTime(7, 5), .lastReminded = kToday}));
}

// The folder goes into ExecStart as systemd splits and expands it back: quotes, backslashes,
// specifiers, variables and control characters all escaped.
TEST(Reminder, SwitchingWritesOrRemovesBothUnitsAndAsksSystemctlInOrder)
{
    const ConfigHome home;
    QList<QStringList> asked;
    QString failing;
    const reminder::Systemctl systemctl = [&](const QStringList &arguments) {
        asked.append(arguments);
        return arguments.constFirst() == failing ? Outcome::failure(u"refused"_s) : Outcome::success();
    };
    const QString service = reminder::unitFolder() + u"/quillnest-reminder.service"_s;
    const QString timer = reminder::unitFolder() + u"/quillnest-reminder.timer"_s;
    const auto state = [&] { return std::tuple(fileText(service), fileText(timer), std::exchange(asked, {})); };
    const QStringList enable{u"enable"_s, u"--now"_s, u"quillnest-reminder.timer"_s};
    const QStringList disable{u"disable"_s, u"--now"_s, u"quillnest-reminder.timer"_s};
    const QStringList reload{u"daemon-reload"_s};

    EXPECT_TRUE(reminder::unitFolder().startsWith(QFile::decodeName(qgetenv("XDG_CONFIG_HOME"))));
    EXPECT_TRUE(reminder::switchOn(systemctl, u"/opt/q n/quillnest-tool"_s, u"/home/a \"b\" 100%/$x\\y\n\t"_s, QTime(7, 5)).ok());
    EXPECT_EQ(state(), std::tuple(u"[Unit]\nDescription=Quillnest's daily reminder to write\n\n[Service]\nType=oneshot\n"
                                  "ExecStart=\"/opt/q n/quillnest-tool\" remind --root \"/home/a \\\"b\\\" 100%%/$$x\\\\y\\n\\x09\"\n"_s,
                                  u"[Unit]\nDescription=Quillnest's daily reminder to write\n\n[Timer]\nOnCalendar=*-*-* 07:05:00\n"
                                  "Persistent=true\n\n[Install]\nWantedBy=timers.target\n"_s,
                                  QList<QStringList>{reload, enable}));
    EXPECT_TRUE(reminder::switchOff(systemctl).ok());
    EXPECT_EQ(state(), std::tuple(u"(none)"_s, u"(none)"_s, QList<QStringList>{disable, reload}));

    failing = u"daemon-reload"_s;
    EXPECT_EQ(reminder::switchOn(systemctl, u"quillnest-tool"_s, u"/d"_s, QTime(20, 0)).error(), u"refused"_s);
    EXPECT_EQ(std::get<2>(state()), QList<QStringList>{reload}) << "not enabled after a failed reload";
    failing = u"disable"_s;
    EXPECT_EQ(reminder::switchOff(systemctl).error(), u"refused"_s);
    EXPECT_EQ(state(), std::tuple(u"(none)"_s, u"(none)"_s, QList<QStringList>{disable})) << "the units go even when systemctl fails";
}

namespace {

// A notification service that answers each note with `id` (or the error), then sends `events` through the loop.
class FakeNotifications final : public tool::Notifications
{
public:
    Sent notify(const Note &note) override
    {
        notes.append(note.summary);
        for (const auto &[id, action] : events) {
            QTimer::singleShot(0, this, [this, id, action] {
                action.isEmpty() ? emit closed(id) : emit actionInvoked(id, action);
            });
        }
        return sent;
    }

    Sent sent;
    QList<std::pair<uint, QString>> events;
    QStringList notes;
};

} // namespace

// Only a click on our own notification opens the program; a close ends the wait, and so does the time.
TEST(Reminder, TheNotificationOpensQuillnestOnlyWhenItselfIsClickedAndTheWaitEnds)
{
    testApplication();
    struct Row
    {
        const char *why;
        tool::Notifications::Sent sent;
        QList<std::pair<uint, QString>> events;
        std::chrono::milliseconds wait;
        int code;
        QStringList told; // "shown", "clicked"
    } rows[]{
        {"clicked", {7, {}}, {{3, u"default"_s}, {7, u"other"_s}, {7, u"default"_s}}, 10min, tool::kDone, {u"shown"_s, u"clicked"_s}},
        {"closed unclicked", {7, {}}, {{3, {}}, {7, {}}}, 10min, tool::kDone, {u"shown"_s}},
        {"left alone", {7, {}}, {}, 0ms, tool::kDone, {u"shown"_s}},
        {"no service", {0, u"no bus"_s}, {{0, u"default"_s}}, 10min, tool::kFailed, {}},
    };
    for (const Row &row : rows) {
        FakeNotifications notifications;
        notifications.sent = row.sent;
        notifications.events = row.events;
        QStringList told;
        const tool::NoteHandlers handlers{.shown = [&] { told << u"shown"_s; }, .clicked = [&] { told << u"clicked"_s; }};
        const tool::Notifications::Note note{.summary = u"Today has no page yet"_s, .body = {}, .actionCaption = {}, .expiry = 10min};
        EXPECT_EQ(tool::notifyAndWait(notifications, note, row.wait, handlers), row.code) << row.why;
        EXPECT_EQ(std::pair(told, notifications.notes), std::pair(row.told, QStringList{note.summary})) << row.why;
    }
}
