#pragma once

#include "notifications.h"

namespace tool {

// org.freedesktop.Notifications on the session bus.
class DbusNotifications final : public Notifications
{
    Q_OBJECT
public:
    DbusNotifications();
    Sent notify(const Note &note) override;

private slots:
    void closedFor(uint id, uint reason);
};

} // namespace tool
