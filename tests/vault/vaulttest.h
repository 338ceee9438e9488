#pragma once

#include "scripteddialogs.h"
#include "vault/vault.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <variant>

// What the vault tests share: snapshots of a diary folder, and its key.
namespace vaulttest {

// Every file below a root with its bytes, and every folder as "name/", so a
// file left behind or a folder gone shows as well as a changed byte.
using Snapshot = std::map<QString, QByteArray>;
Snapshot snapshot(const QString &root);
// The names whose entries differ, readable in a failure; empty when none.
std::string differences(const Snapshot &before, const Snapshot &after);
// A name holding needle, or empty: no stored file may show a page's words.
std::string fileHolding(const Snapshot &files, QByteArrayView needle);

void copyTree(const QString &from, const QString &to);
void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);
QByteArray firstLine(const QString &passwordFile);

// The diary's vault when the password opens its pw.dat, else null.
std::shared_ptr<Vault> openVault(const QString &passwordFile, QStringView password);

// Bytes first, first + 1, ..., for fixed keys, salts and nonces.
QByteArray counting(int first, int count);
// The bytes with one bit flipped.
QByteArray flipped(QByteArray bytes, qsizetype at, int bit);

// Queues a box's answers in the order the boxes come: a button or a typed text.
void script(ScriptedDialogs &dialogs, std::initializer_list<std::variant<Dialogs::Button, QString>> answers);

} // namespace vaulttest
