#pragma once

#include <QList>

#include <array>

class FileListBox;
class MonthCalendar;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMainWindow;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;
class RichTextEdit;

// The main window's controls at their designed places, under the names the
// program's design gives them; the window connects them.
class MainControls
{
public:
    explicit MainControls(QMainWindow &window);

    // Every control in the window's own order, as the layout records follow it.
    QList<QWidget *> inOrder() const;

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

private:
    void buildToolbar();
    void buildSearchPanel();
    void buildOpenPanel();
    void buildOnThisDay();
};
