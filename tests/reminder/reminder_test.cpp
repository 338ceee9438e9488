#include "diary/pagestore.h"
#include "reminder/reminderdue.h"
#include "reminder/reminderunits.h"
#include "tool/notifications.h"
#include "tool/toolsupport.h"
#include "vault/vault.h"

#include "testapplication.h"
#include "testdataroot.h"

#include <QStandardPaths>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// Only the page's name and size are looked at: a sealed page counts as written without its diary being opened.
TEST(Reminder, RemindsOnceADayOnceItsTimeHasComeAndOnlyWhileTodayHasNoPage)
{
    const QDate today(2026, 12, 4);
    const auto at = [&](int hour, int minute, int second = 0) { return QDateTime(today, QTime(hour, minute, second)); };
    enum class Page { None, Empty, Written, Sealed };
    const reminder::Settings on{.on = true, .time = QTime(20, 0), .lastReminded = today.addDays(-1)};
    const std::tuple<const char *, reminder::Settings, Page, QDateTime, bool> rows[]{
        {"on the minute, no page", on, Page::None, at(20, 0), true},
        {"a second before", on, Page::None, at(19, 59, 59), false},
        {"an empty page is no page", on, Page::Empty, at(23, 59, 59), true},
        {"today written", on, Page::Written, at(21, 0), false},
        {"today written in an encrypted diary", on, Page::Sealed, at(21, 0), false},
        {"switched off", {.on = false, .time = QTime(20, 0), .lastReminded = {}}, Page::None, at(21, 0), false},
        {"reminded already today", {.on = true, .time = QTime(20, 0), .lastReminded = today}, Page::None, at(21, 0), false},
        {"never reminded, at midnight", {.on = true, .time = QTime(0, 0), .lastReminded = {}}, Page::None, at(0, 0), true},
        {"the next day, yesterday's page written", on, Page::Written, at(20, 0).addDays(1), true},
    };
    for (const auto &[why, settings, page, now, due] : rows) {
        TestDataRoot data;
        if (page == Page::Empty || page == Page::Written)
            data.writeFile(u"pages/2026-12-04.dat"_s, page == Page::Empty ? QByteArray() : "{\\rtf1 today}");
        const DataRoot sealed(data.path(), std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{}));
        EXPECT_TRUE(page != Page::Sealed || pagestore::save(sealed, today, "{\\rtf1 today}").ok());
        EXPECT_EQ(reminder::due(settings, data.root(), now), due) << why;
    }

    const TestDataRoot config;
    const QString file = config.path() + u"/quillnest.conf"_s;
    reminder::markReminded(file, today);
    reminder::writeChoice(file, true, QTime(7, 5));
    EXPECT_EQ(reminder::read(file), (reminder::Settings{.on = true, .time = QTime(7, 5), .lastReminded = today}));
}

// The folder goes into ExecStart as systemd splits and expands it back: quotes, backslashes,
// specifiers, variables and control characters all escaped.
TEST(Reminder, SwitchingWritesOrRemovesBothUnitsAndAsksSystemctlInOrder)
{
    QStandardPaths::setTestModeEnabled(true);
    QDir(reminder::unitFolder()).removeRecursively();
    QList<QStringList> asked;
    QString failing;
    const reminder::Systemctl systemctl = [&](const QStringList &arguments) {
        asked.append(arguments);
        return arguments.constFirst() == failing ? Outcome::failure(u"refused"_s) : Outcome::success();
    };
    const auto text = [](const char *name) {
        QFile file(reminder::unitFolder() + u'/' + QLatin1StringView(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : u"(none)"_s;
    };
    const auto state = [&] { return std::tuple(text(reminder::kServiceName), text(reminder::kTimerName), std::exchange(asked, {})); };
    const QStringList enable{u"enable"_s, u"--now"_s, u"quillnest-reminder.timer"_s}, reload{u"daemon-reload"_s},
        disable{u"disable"_s, u"--now"_s, u"quillnest-reminder.timer"_s};

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
    QStandardPaths::setTestModeEnabled(false);
}

namespace {

// Answers with `sent`, then sends `events` (an empty action: closed) through the loop.
class FakeNotifications final : public tool::Notifications
{
public:
    Sent notify(const Note &) override
    {
        for (const auto &[id, action] : events)
            QTimer::singleShot(0, this, [this, id, action] { action.isEmpty() ? emit closed(id) : emit actionInvoked(id, action); });
        return sent;
    }

    Sent sent;
    QList<std::pair<uint, QString>> events;
};

} // namespace

// Only a click on our own notification while it is waited for opens the program; its close ends the wait, and so does the time.
TEST(Reminder, TheNotificationOpensQuillnestOnlyWhenItselfIsClickedAndTheWaitEnds)
{
    testApplication();
    const std::tuple<FakeNotifications::Sent, QList<std::pair<uint, QString>>, std::chrono::milliseconds, int, QStringList> rows[]{
        {{7, {}}, {{3, {}}, {7, u"default"_s}}, 10min, tool::kDone, {u"shown"_s, u"clicked"_s}},
        {{7, {}}, {{3, u"default"_s}, {7, u"other"_s}, {7, {}}, {7, u"default"_s}}, 10min, tool::kDone, {u"shown"_s}},
        {{7, {}}, {}, 0ms, tool::kDone, {u"shown"_s}},
        {{0, u"no bus"_s}, {{0, u"default"_s}}, 10min, tool::kFailed, {}},
    };
    for (const auto &[sent, events, wait, code, told] : rows) {
        FakeNotifications notifications;
        notifications.sent = sent;
        notifications.events = events;
        QStringList happened;
        const tool::NoteHandlers handlers{.shown = [&] { happened << u"shown"_s; }, .clicked = [&] { happened << u"clicked"_s; }};
        const int ended = tool::notifyAndWait(notifications, {}, wait, handlers);
        EXPECT_EQ(std::pair(ended, happened), std::pair(code, told)) << told.join(u' ').toStdString();
    }
}
