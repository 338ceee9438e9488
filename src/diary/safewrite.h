#pragma once

#include "outcome.h"

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes, or leaves it exactly as it was.
// The new name is synced to disk before this returns success.
Outcome writeFileAtomically(const QString &path, const QByteArray &bytes);
