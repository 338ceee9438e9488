#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class DiarySession;

// Notices what a sync tool brings while the window is open. It watches the
// diary's folders, not each file, so a diary of a century of pages costs
// three watches, and takes a burst of a sync tool's writes (a temporary
// file, then its rename) as one. Where the file system cannot be watched
// nothing is, and copies are found at the next save or sign-in as before.
class ArrivalWatcher : public QObject
{
public:
    ArrivalWatcher(DiarySession &session, QObject *parent);

private:
    void watchFolders();
    void changed(const QString &folder);
    void notice();

    DiarySession &m_session;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};
