#pragma once

#include "appservices.h"
#include "diary/dataroot.h"
#include "diary/filelist.h"
#include "format/formatting.h"
#include "seams/dialogs.h"
#include "ui/valueholder.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <variant>

class MonthCalendar;
class ProportionalLayout;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class FileListBox;
class Frmpicture;
class Frmprint;
class QListWidget;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class RichTextEdit;

// The main window. Its controls keep the names of the program's design, and
// each handler hands its work to a class of the folder that owns it.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(const AppServices &services, QWidget *parent = nullptr);
    ~Form1() override;

    // False when the sign-in ended the program: the window must never show.
    bool startedUp() const { return m_startedUp; }
    DataRoot dataRoot() const { return DataRoot(m_dataRoot); }
    int filechanged = 0;

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
    QLineEdit *Text4 = nullptr;
    std::array<QLabel *, 2> Label6 {};
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

    QMenu *m1 = nullptr;
    QAction *m15 = nullptr, *m3 = nullptr, *m2 = nullptr, *m5 = nullptr, *m20 = nullptr, *m16 = nullptr,
            *m17 = nullptr, *m4 = nullptr, *m6 = nullptr, *m18 = nullptr, *m19 = nullptr, *m7 = nullptr;
    QMenu *m8 = nullptr;
    QAction *m9 = nullptr, *m10 = nullptr;
    QMenu *m11 = nullptr;
    QAction *m12 = nullptr, *m13 = nullptr, *m14 = nullptr;

    // The hidden working controls, as plain members.
    QTimer Timer1;
    ValueHolder Text2;
    ValueHolder txtm;
    ValueHolder lblvalue;
    ValueHolder dtpickValue;
    ValueHolder text3Value{QStringLiteral("0")};
    FileList File1;
    FileList File2;

    // Made by the first Add Picture, again after its close box discarded it.
    QPointer<Frmpicture> frmpicture;

    // Routines other windows use too.
    void AskToSavePage();
    void SavePage();
    bool storePage(const QString &key, const QByteArray &rtf);
    void NewPage();
    void DeletePage();
    void showOpenPanel();
    void showSearchPanel();
    QDate selectedDay() const;

public slots:
    void Form_Resize();
    void m3_Click();
    void m7_Click();
    void m9_Click();
    void m10_Click();
    void m12_Click();
    void m13_Click();
    void m14_Click();
    void m17_Click();
    void m18_Click();
    void AddPicture();
    void monthview1_DateChosen();
    void Timer1_Timer();
    void File3_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();
    void Command4_Click();
    void List1_Click();
    void Command1_Click();
    void Toolbar1_ButtonClick(const QString &key);
    void cmbFontName_Click();
    void cmbFontSize_Click();

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
    void connectHandlers();
    void dtpick_Change();
    void txtm_Change();
    void Text2_Change();
    void lblvalue_Change();
    void text3_Change();
    void OpenPage();
    void followDay(QDate day);
    void loadNote();
    void deleteNote(const QString &key);
    int pageNumber() const;
    void setPageNumber(qsizetype number);
    void showSavedPage(const QString &key);
    Dialogs::Button message(const QString &text, const QString &title, Dialogs::Icon icon, Dialogs::Buttons buttons,
                            std::optional<Dialogs::Button> defaultButton = std::nullopt);
    QList<std::variant<QWidget *, QAction *>> controlCollection() const;
    void Form_Load();
    void Dir1_Change();
    void setDir1(const QString &path);
    void endProgram();

    AppServices m_services;
    QString m_dataRoot;
    std::unique_ptr<ProportionalLayout> m_layout;
    bool m_startedUp = false;
    bool m_shownOnce = false;
    bool m_pageNumberFollowsSave = false;
    formatting::ColorChooser m_colorChooser;
    std::map<QString, std::function<void()>> m_toolbarCommands;
    QPointer<Frmprint> m_frmprint;
};
