#pragma once

#include "access/signin.h"
#include "cheapkdf.h"
#include "diary/conversion.h"
#include "diary/drafts.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diary/scramble.h"
#include "diary/search.h"
#include "diarytexts.h"
#include "fixedclock.h"
#include "qtprinters.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "scripteddialogs.h"
#include "seams/messages.h"
#include "session/daybook.h"
#include "session/diarysearch.h"
#include "session/diarysession.h"
#include "session/sessiondrafts.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "testapplication.h"
#include "testdataroot.h"
#include "vault/vault.h"

#include <QDirIterator>

#include <filesystem>

#include <gtest/gtest.h>

// What the vault tests share: snapshots of a diary folder, and its key.
namespace vaulttest {

// Argon2id at its least cost for every test here: the limits themselves are
// checked by the tests that set their own policy.
struct CheapKeys : ::testing::Environment
{
    void SetUp() override
    {
        testApplication();
        useCheapKeyDerivation();
    }
};
inline ::testing::Environment *const kCheapKeys = ::testing::AddGlobalTestEnvironment(new CheapKeys);

// Every file below a root with its bytes, and every folder as "name/", so a
// file left behind or a folder gone shows as well as a changed byte.
using Snapshot = std::map<QString, QByteArray>;
inline Snapshot snapshot(const QString &root)
{
    Snapshot files;
    for (QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
        const QString name = QDir(root).relativeFilePath(it.next());
        files[it.fileInfo().isDir() ? name + u'/' : name] = it.fileInfo().isDir() ? QByteArray() : readBytes(it.filePath());
    }
    return files;
}

// The names whose entries differ, readable in a failure; empty when none.
inline std::string differences(const Snapshot &before, const Snapshot &after)
{
    std::vector<std::pair<QString, QByteArray>> changed;
    std::ranges::set_symmetric_difference(before, after, std::back_inserter(changed));
    QStringList names;
    std::ranges::transform(changed, std::back_inserter(names), &std::pair<QString, QByteArray>::first);
    names.removeDuplicates();
    return names.join(u", ").toStdString();
}

// A name holding needle, or empty: no stored file may show a page's words.
inline std::string fileHolding(const Snapshot &files, QByteArrayView needle)
{
    const auto found = std::ranges::find_if(files, [&](const auto &file) { return file.second.contains(needle); });
    return found == files.end() ? std::string() : found->first.toStdString();
}

inline QByteArray firstLine(const QString &passwordFile) { return readBytes(passwordFile).split('\r').constFirst(); }

// The diary's vault when the password opens its pw.dat, else null.
inline std::shared_ptr<Vault> openVault(const QString &passwordFile, QStringView password)
{
    const auto slot = keyslot::parse(firstLine(passwordFile));
    auto key = slot ? keyslot::unwrap(*slot, keyslot::passwordBytes(password)) : std::nullopt;
    return key ? std::make_shared<Vault>(std::move(*key), *slot) : nullptr;
}

// Bytes first, first + 1, ..., for fixed keys, salts and nonces.
inline QByteArray counting(int first, int count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    std::iota(bytes.begin(), bytes.end(), char(first));
    return bytes;
}

// The bytes with one bit flipped.
inline QByteArray flipped(QByteArray bytes, qsizetype at, int bit)
{
    bytes[at] = char(bytes[at] ^ (1 << bit));
    return bytes;
}

// A box's answers in the order the boxes come: a button or a typed text.
using Answers = QList<std::variant<Dialogs::Button, QString>>;
inline void script(ScriptedDialogs &dialogs, const Answers &answers)
{
    for (const auto &answer : answers)
        answer.index() == 0 ? dialogs.answerMessage(std::get<0>(answer)) : dialogs.answerInput(std::get<1>(answer));
}

} // namespace vaulttest
