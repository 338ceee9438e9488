#pragma once

#include "remindersettings.h"

#include <QDateTime>

class DataRoot;

namespace reminder {

// Whether to remind now: switched on, its time come today, not yet reminded
// today, and today's page missing or empty. Only the page's name is looked
// at, never its content, so an encrypted diary stays locked.
bool due(const Settings &settings, const DataRoot &root, const QDateTime &now);

} // namespace reminder
