#include "presencekeeper.h"

#include "seams/messages.h"
#include "sync/presence.h"

#include <QLocale>

PresenceKeeper::PresenceKeeper(QString diaryFolder, QObject *parent)
    : QObject(parent), m_folder(std::move(diaryFolder)), m_since(QDateTime::currentDateTimeUtc())
{
    m_refresh.setInterval(std::chrono::minutes(presence::kRefreshMinutes));
    connect(&m_refresh, &QTimer::timeout, this, [this] { presence::announce(m_folder, m_since); });
}

PresenceKeeper::~PresenceKeeper()
{
    if (m_refresh.isActive())
        presence::withdraw(m_folder);
}

bool PresenceKeeper::admit(Dialogs &dialogs)
{
    for (const presence::Computer &other : presence::others(m_folder, m_since)) {
        const QString since = QLocale().toString(other.since.toLocalTime(), QLocale::ShortFormat);
        if (messages::ask(dialogs, messages::openElsewhere(other.name, since)) != Dialogs::Button::Ok)
            return false;
    }
    presence::announce(m_folder, m_since);
    m_refresh.start();
    return true;
}
