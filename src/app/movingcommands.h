#pragma once

#include "appservices.h"
#include "diary/conversion.h"
#include "seams/dialogs.h"
#include "session/diarysession.h"

#include <QObject>

#include <optional>

class QWidget;
class VaultControls;
class WindowLock;
struct MainMenus;

// The window side of the commands that carry the whole diary somewhere: a
// backup, an import, an export, encrypting, decrypting and a new password.
class MovingCommands : public QObject
{
    Q_OBJECT

public:
    MovingCommands(QWidget &window, DiarySession &session, const AppServices &services, const WindowLock &lock);

    void connectMenus(const MainMenus &menus);

private:
    void backUpDiary();
    void importDiary();
    void exportPages();
    void convertShowingProgress(const QString &label, void (VaultControls::*convert)(const conversion::Progress &));

    QWidget &m_window;
    DiarySession &m_session;
    AppServices m_services;
    const WindowLock &m_lock;
    // Export... offers the format and days chosen last, until the program ends.
    std::optional<Dialogs::Choice> m_lastExport;
};
