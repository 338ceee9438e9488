#pragma once

#include "reminder/reminderunits.h"

#include <QObject>
#include <QString>

class Dialogs;
class DiarySession;
class QAction;

// Date > Daily Reminder...: the checked item installs the user's timer at the
// time asked for, the unchecked item removes it.
class ReminderSwitch : public QObject
{
    Q_OBJECT
public:
    struct Services
    {
        Dialogs &dialogs;
        QString settingsFile;
        reminder::Systemctl systemctl;
    };

    ReminderSwitch(QAction &item, const DiarySession &session, Services services);

private:
    void turn(bool on);
    void switchOn();

    QAction &m_item;
    const DiarySession &m_session;
    Services m_services;
};
