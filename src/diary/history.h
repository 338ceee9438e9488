#pragma once

#include "dataroot.h"
#include "outcome.h"
#include "safewrite.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

// The earlier versions of every page and note file, kept under the data
// root's history folder before each overwrite or delete:
// history/pages/yyyy-mm/yyyy-mm-dd@<id>.dat and history/dates/Mmm-d@<id>.dat,
// each the stored file's bytes as they were, its id the UTC time it was
// replaced, then "+" and the ancestry ids of those bytes and of the bytes
// that replaced them (none when nothing did).
namespace history {

// Per file, the newest kKeptVersions versions and every version younger than
// kKeptDays are kept; older ones beyond those go.
inline constexpr int kKeptVersions = 30;
inline constexpr int kKeptDays = 90;

struct Version
{
    QString id;
    QDateTime replaced; // UTC
    qint64 size = 0;
    QString path;
    // Empty in a version kept before the ids were.
    QString own;
    QString successor;
};

// What a list of versions shows for one that does not open, in place of its first line.
inline const QString kDoesNotOpen = QStringLiteral("[damaged: does not open]");

// Whether a change goes on when the version it replaces cannot be kept.
enum class Unkept { Refuse, GoOn };

// Keeps the stored file as it is now, if it exists, then prunes its versions.
// A hard link where the file system allows it, so the old bytes cost no copy.
// A version that cannot be kept (a full disk, a file where the folder belongs)
// fails with Outcome::versionNotKept, unless unkept says to go on.
// successor: the ancestry id of what replaces it, empty for a removal.
Outcome keep(const DataRoot &root, const QString &storedFile, Unkept unkept = Unkept::Refuse, const QString &successor = {},
             const QDateTime &now = QDateTime::currentDateTimeUtc());

// A change's step before it replaces or removes the stored file.
BeforeReplacing keeping(const DataRoot &root, const QString &storedFile, Unkept unkept, const QString &successor = {});

// Moves file in as a version of the stored file, as a draft no one stored
// is set aside rather than deleted; successor names the version that holds
// what it had, as a merged copy's does. own is the file's ancestry id where
// the caller has just read it, so a large copy is not read again for its name.
void setAside(const DataRoot &root, const QString &storedFile, const QString &file, const QString &successor = {},
              const QString &own = {}, const QDateTime &now = QDateTime::currentDateTimeUtc());

// Newest first.
QList<Version> versions(const DataRoot &root, const QString &storedFile);

// Puts a version back as the stored file, keeping the one it replaces; a
// sealed version that does not open under the stored file's name is refused.
Outcome restore(const DataRoot &root, const QString &storedFile, const QString &id);

void prune(const DataRoot &root, const QString &storedFile, const QDateTime &now);

// While one lives on this thread, keep and setAside leave pruning to its end,
// which prunes each file once: every prune lists the file's whole folder, so
// setting aside thousands of copies of one day would list it once per copy.
class PruneLater
{
public:
    PruneLater();
    ~PruneLater();
    PruneLater(const PruneLater &) = delete;
    PruneLater &operator=(const PruneLater &) = delete;

    void add(const DataRoot &root, const QString &storedFile, const QDateTime &now);

private:
    struct Pending
    {
        DataRoot root;
        QDateTime now;
    };
    QHash<QString, Pending> m_pending;
    PruneLater *m_outer;
};

QString versionFolder(const DataRoot &root, const QString &storedFile);

} // namespace history
