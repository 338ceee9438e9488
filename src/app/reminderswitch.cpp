#include "reminderswitch.h"

#include "reminder/remindersettings.h"
#include "seams/messages.h"
#include "session/diarysession.h"

#include <QAction>
#include <QStandardPaths>

namespace {

// systemd finds a bare name on its own path, where a packaged tool lies.
QString toolPath()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("quillnest-tool"));
    return found.isEmpty() ? QStringLiteral("quillnest-tool") : found;
}

} // namespace

ReminderSwitch::ReminderSwitch(QAction &item, const DiarySession &session, Services services)
    : QObject(&item), m_item(item), m_session(session), m_services(std::move(services))
{
    m_item.setCheckable(true);
    // Without a settings file or systemd the tool would have nothing to read or nothing to start it.
    m_item.setEnabled(!m_services.settingsFile.isEmpty() && m_services.systemctl);
    m_item.setChecked(m_item.isEnabled() && reminder::read(m_services.settingsFile).on);
    connect(&m_item, &QAction::triggered, this, &ReminderSwitch::turn);
}

void ReminderSwitch::turn(bool on)
{
    if (on) {
        switchOn();
        return;
    }
    reminder::writeChoice(m_services.settingsFile, false, reminder::read(m_services.settingsFile).time);
    if (const Outcome off = reminder::switchOff(m_services.systemctl); !off)
        messages::tell(m_services.dialogs, messages::reminderNotOff(off.error()));
}

void ReminderSwitch::switchOn()
{
    m_item.setChecked(false);
    const auto time = m_services.dialogs.timeOfDay(QStringLiteral("Daily Reminder"),
                                                   QStringLiteral("Remind me at this time on a day that has no page yet:"),
                                                   reminder::read(m_services.settingsFile).time);
    if (!time)
        return;
    const Outcome on = reminder::switchOn(m_services.systemctl, toolPath(), m_session.dataRoot().path(), *time);
    if (!on) {
        // Half-installed units would remind without the switch.
        reminder::switchOff(m_services.systemctl);
        messages::tell(m_services.dialogs, messages::reminderNotOn(on.error()));
        return;
    }
    reminder::writeChoice(m_services.settingsFile, true, *time);
    m_item.setChecked(true);
}
