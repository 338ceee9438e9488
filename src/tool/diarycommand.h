#pragma once

#include "diary/dataroot.h"
#include "diary/diarylock.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace tool {

// What every command on an existing diary does before its own work, so that
// a command reads as what it does: --root names the diary and, unless the
// command takes no password, --password-fd gives it. Each step that can end
// the command gives its exit code when it does.
class DiaryCommand
{
public:
    enum class Password {
        Unlocks,       // an encrypted diary is opened with its password first
        ReadByCommand, // the files as they lie; the command asks for a password itself
        None,          // the files as they lie, and no password is asked for
    };

    // The command's own options follow the diary's.
    explicit DiaryCommand(const QString &description, const QList<QCommandLineOption> &options = {},
                          Password password = Password::Unlocks);

    QCommandLineParser &parser() { return m_parser; }
    // Once open.
    const DataRoot &root() const { return *m_root; }

    // Whether opening looks through the pages for the sealed mark, or the
    // command reads every page anyway and asks sealedmark::passwordFileLost
    // itself with the pages it read, before it says anything.
    enum class SealedPages { Looked, LeftToCommand };

    // Parses, then opens, for a command with nothing to check in between.
    std::optional<int> start(const QStringList &arguments, int positional);
    std::optional<int> parse(const QStringList &arguments, int positional);
    std::optional<int> open(SealedPages pages = SealedPages::Looked);
    // Holds the diary lock until the command ends; false after saying who has the diary.
    bool claim();

private:
    QCommandLineParser m_parser;
    Password m_password;
    std::optional<DataRoot> m_root;
    std::optional<DiaryLock> m_lock;
};

} // namespace tool
