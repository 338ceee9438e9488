#include "reminderdue.h"

#include "diary/dataroot.h"

#include <QFileInfo>

namespace reminder {

bool due(const Settings &settings, const DataRoot &root, const QDateTime &now)
{
    const QDate today = now.date();
    if (!settings.on || now.time() < settings.time || settings.lastReminded == today)
        return false;
    // A sealed page keeps the plain page's name, so this holds for both.
    const QFileInfo page(root.pagePath(today));
    return !page.exists() || page.size() == 0;
}

} // namespace reminder
