#include "arrivalwatcher.h"

#include "session/diarysession.h"
#include "session/vaultcontrols.h"

#include <QApplication>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Long enough for a sync tool to finish the file it renames into place, short enough to be seen at once.
constexpr auto kSettle = 250ms;

} // namespace

ArrivalWatcher::ArrivalWatcher(DiarySession &session, QObject *parent) : QObject(parent), m_session(session)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettle);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ArrivalWatcher::changed);
    connect(&m_settle, &QTimer::timeout, this, &ArrivalWatcher::notice);
    // Locked, nothing sealed can be read: what arrived meanwhile is taken in once the diary opens again.
    connect(&session.vault(), &VaultControls::lockChanged, this, [this](bool locked) {
        if (!locked)
            m_settle.start();
    });
    m_watcher.addPath(session.dataRoot().path());
    watchFolders();
}

// A watch follows its folder, so a pages/ or dates/ replaced (a conversion, a
// restore, the sync tool itself) is watched anew from the diary's folder.
void ArrivalWatcher::watchFolders()
{
    const DataRoot root = m_session.dataRoot();
    const QStringList folders{root.pagesDir(), root.datesDir()};
    m_watcher.removePaths(folders);
    m_watcher.addPaths(folders);
}

// The first change of a burst starts the wait; the rest ride along.
void ArrivalWatcher::changed(const QString &folder)
{
    if (folder == m_session.dataRoot().path())
        watchFolders();
    if (!m_settle.isActive())
        m_settle.start();
}

// A box on screen belongs to a command still under way, which may be reading the very page: the arrivals wait.
void ArrivalWatcher::notice()
{
    if (QApplication::activeModalWidget()) {
        m_settle.start();
        return;
    }
    (void)m_session.noticeArrivals();
}
