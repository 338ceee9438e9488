#pragma once

#include "appservices.h"
#include "maincontrols.h"
#include "mainmenus.h"
#include "format/formatting.h"
#include "session/diarysession.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <variant>

class AutoLock;
class FontLists;
class Frmpicture;
class Frmprint;
class LockBox;
class MatchMarks;
class PresenceKeeper;
class ProportionalLayout;
class QHelpEvent;
class QListWidgetItem;
class WindowLock;

// The main window: a view of the diary session. Its controls keep the names
// of the program's design; each command goes to the session in a line or
// two, and the controls follow the session's signals.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    Form1(const AppServices &services, DiarySession &session, QWidget *parent = nullptr);
    ~Form1() override;

    // False when the sign-in ended the program: the window must never show.
    bool startedUp() const { return m_startedUp; }
    DiarySession &session() { return m_session; }
    // Only while the diary is encrypted; the box once it has locked.
    LockBox *lockBox() const;
    AutoLock *autoLock() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void orderFocus();
    void followPanels();
    void checkSpelling(spelling::Service &service);
    void connectControls();
    void connectMenus();
    void followSession();
    void followCopies();
    QList<std::variant<QWidget *, QAction *>> controlCollection() const;
    void Form_Load();
    void Form_Resize();
    void showOpenPanel();
    void showSearchPanel();
    void Command4_Click();
    void Command1_Click();
    void openResult(const QListWidgetItem &item);
    void showResultContext(const QHelpEvent &event);
    void AddPicture();
    void m17_Click();
    bool leaveDiary();
    void endProgram();

    AppServices m_services;
    DiarySession &m_session;
    MainControls m_ui;
    MainMenus m_menus;
    std::unique_ptr<ProportionalLayout> m_layout;
    std::unique_ptr<MatchMarks> m_marks;
    bool m_startedUp = false;
    bool m_shownOnce = false;
    formatting::ColorChooser m_colorChooser;
    FontLists *m_fontLists = nullptr;
    WindowLock *m_lock = nullptr;
    PresenceKeeper *m_presence = nullptr;
    // Made by the first Add Picture, again after its close box discarded it.
    QPointer<Frmpicture> m_frmpicture;
    QPointer<Frmprint> m_frmprint;
};
