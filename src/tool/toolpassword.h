#pragma once

#include "diary/keyslotfile.h"

#include <QCommandLineParser>
#include <QString>

#include <optional>

// The password of an encrypted diary comes from the terminal without echo,
// or from a file descriptor for scripts; never from an argument or the
// environment, where other users' programs could read it.
namespace tool {

QCommandLineOption passwordFdOption();

// Asks on the terminal (prompt) unless --password-fd names a descriptor,
// whose first line is the password. Nothing after saying why.
std::optional<QString> readPassword(const QCommandLineParser &parser, const QString &prompt);

// The key the password opens, once it opens the diary, mending the other
// copy of the slot when it is damaged; nothing after saying why.
std::optional<KeySlotFile::Opened> openKeySlot(const KeySlotFile &file, const SecretBytes &password);

} // namespace tool
