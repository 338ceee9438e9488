#pragma once

#include "outcome.h"

#include <QString>
#include <QTemporaryDir>

#include <optional>

// A restore writes its diary into a hidden folder beside the target and
// renames it into place only once it is whole and synced, so a killed restore
// leaves either no diary at the target or a whole one, never half of one.
class RestoreStaging
{
public:
    // What restores to this target left when they were killed; a folder of a
    // restore still running, and anything not made by a restore, is kept.
    static void removeLeftovers(const QString &target);

    explicit RestoreStaging(const QString &target);
    ~RestoreStaging();
    RestoreStaging(const RestoreStaging &) = delete;
    RestoreStaging &operator=(const RestoreStaging &) = delete;

    bool isReady() const { return m_lock >= 0; }
    QString diaryPath() const;
    // Replaces the target, which must be missing or an empty folder.
    Outcome moveIntoPlace() const;

private:
    QString m_target;
    std::optional<QTemporaryDir> m_folder;
    int m_lock = -1;
};
