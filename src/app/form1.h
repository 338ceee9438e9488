#pragma once

#include "appservices.h"
#include "diary/conversion.h"
#include "editor/richtextedit.h"
#include "format/formatting.h"
#include "seams/dialogs.h"
#include "session/diarysession.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <variant>

class AutoLock;
class MatchMarks;
class QCheckBox;
class LockBox;
class MonthCalendar;
class ProportionalLayout;
class QComboBox;
class QFrame;
class QGroupBox;
class QHelpEvent;
class QLabel;
class QLineEdit;
class FileListBox;
class Frmpicture;
class Frmprint;
class QListView;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class RichTextEdit;
class VaultControls;

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
    AutoLock *autoLock() const { return m_autoLock; }
    LockBox *lockBox() const { return m_lockBox.get(); }

    QWidget *canvas = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QFrame *Frame2 = nullptr;
    QToolButton *SSCommand1 = nullptr;
    QToolButton *SSCommand2 = nullptr;
    QToolButton *SSCommand3 = nullptr;
    QToolButton *SSCommand4 = nullptr;
    QLabel *text3 = nullptr;
    QComboBox *cmbFontName = nullptr;
    QComboBox *cmbFontSize = nullptr;
    QFrame *Frame1 = nullptr;
    QLineEdit *Text1 = nullptr;
    RichTextEdit *rtxt3 = nullptr;
    std::array<QLabel *, 3> Label2 {};
    QGroupBox *Frame5 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;
    QListWidget *List1 = nullptr;
    // Under the matches: says so when a search found nothing.
    QLabel *lblNoMatches = nullptr;
    QLineEdit *Text4 = nullptr;
    std::array<QLabel *, 2> Label6 {};
    // The search's two choices, under the term; as shipped they search as the design does.
    QCheckBox *chkMatchCase = nullptr;
    QCheckBox *chkTextOnly = nullptr;
    QGroupBox *Frame3 = nullptr;
    QPushButton *Command3 = nullptr;
    FileListBox *File3 = nullptr;
    RichTextEdit *rtxt = nullptr;
    MonthCalendar *monthview1 = nullptr;
    RichTextEdit *rtxt2 = nullptr;
    QLabel *dtpick = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Image2 = nullptr;
    // "On this day": the earlier years with a page on the selected day, under the note.
    QLabel *lblOnThisDay = nullptr;
    QListView *lstOnThisDay = nullptr;

    QMenu *m1 = nullptr;
    QAction *m15 = nullptr, *m3 = nullptr, *m2 = nullptr, *m5 = nullptr, *m20 = nullptr, *m16 = nullptr,
            *m17 = nullptr, *m4 = nullptr, *m6 = nullptr, *m18 = nullptr, *m19 = nullptr, *m7 = nullptr;
    QMenu *m8 = nullptr;
    QAction *m9 = nullptr, *m10 = nullptr;
    QMenu *m11 = nullptr;
    QAction *m12 = nullptr, *m13 = nullptr, *m14 = nullptr;
    // File > Page History... and Back Up Diary..., beside the design's commands.
    QAction *m21 = nullptr, *m22 = nullptr;
    // File > Import Diary... and Export...: other diaries in, any range of pages out.
    QAction *m25 = nullptr, *m26 = nullptr;
    // File > Encrypt Diary... on a plain diary, Decrypt Diary... on an encrypted one.
    QAction *m23 = nullptr, *m24 = nullptr;
    // File > Lock Diary and Lock When Idle, for an encrypted diary only.
    QAction *m27 = nullptr;
    QMenu *m28 = nullptr;
    // The toolbar's Open only shows the panel; File > Open File asks to save first.
    QAction *openPanel = nullptr;
    // F3 and Shift+F3: the next and previous match of the search in the open page.
    QAction *findNext = nullptr, *findPrevious = nullptr;

    // Made by the first Add Picture, again after its close box discarded it.
    QPointer<Frmpicture> frmpicture;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    static constexpr int kToolbarIconSize = 16;

    void buildControls();
    void buildPanels();
    void buildMenus();
    QList<QKeySequence> menuShortcuts() const;
    void buildToolbar();
    void fillFontLists();
    void connectControls();
    void orderFocus();
    void followPanels();
    void checkSpelling(spelling::Service &service);
    void connectMenus();
    void followSession();
    QList<std::variant<QWidget *, QAction *>> controlCollection() const;
    void Form_Load();
    void Form_Resize();
    void showOpenPanel();
    void showSearchPanel();
    void Command4_Click();
    void Command1_Click();
    void openResult(const QListWidgetItem &item);
    void showResultContext(const QHelpEvent &event);
    void buildOnThisDay();
    void AddPicture();
    void m17_Click();
    void backUpDiary();
    void importDiary();
    void exportPages();
    void convertShowingProgress(const QString &label, void (VaultControls::*convert)(const conversion::Progress &));
    void cmbFontName_Click();
    void cmbFontSize_Click();
    void fontSizeTyped();
    void showCaretFont();
    bool leaveDiary();
    void endProgram();
    void followLocking();
    void buildIdleChoices();
    void chooseIdleDelay(int minutes);
    void keepPlaces();
    void watchForLock(bool encrypted);
    void showLocked(bool locked);
    void comeForward();

    AppServices m_services;
    DiarySession &m_session;
    std::unique_ptr<ProportionalLayout> m_layout;
    std::unique_ptr<MatchMarks> m_marks;
    bool m_startedUp = false;
    bool m_shownOnce = false;
    formatting::ColorChooser m_colorChooser;
    QPointer<Frmprint> m_frmprint;
    AutoLock *m_autoLock = nullptr;
    std::unique_ptr<LockBox> m_lockBox;
    // The windows the lock hid, shown again as they were on unlocking.
    QList<QPointer<QWidget>> m_lockedWindows;
    QPointer<QWidget> m_activeBeforeLock;
    // Where the page's and the note's caret and scroll stood when the lock dropped their words.
    RichTextEdit::Place m_pagePlace;
    RichTextEdit::Place m_notePlace;
    int m_idleMinutes = 5;
    // Export... offers the format and days chosen last, until the program ends.
    std::optional<Dialogs::Choice> m_lastExport;
};
