#pragma once

#include "outcome.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Replaces the file at path with bytes, or leaves it exactly as it was.
// The new name is synced to disk before this returns success.
// beforeReplacing runs once the new bytes are safely written, just before the
// old file is replaced, so a write that fails leaves nothing of it behind;
// when it fails, the old file stays and its failure is returned.
using BeforeReplacing = std::function<Outcome()>;
Outcome writeFileAtomically(const QString &path, const QByteArray &bytes, const BeforeReplacing &beforeReplacing = {});

// Syncs the finished file at `from` to disk and renames it over `to`, so a
// power cut leaves either the old file at `to` or the whole new one.
Outcome replaceDurably(const QString &from, const QString &to);

// Syncs every file and folder of the file system holding path, for work that
// wrote many files and makes them count with one last rename or mark.
bool syncFileSystem(const QString &path);
