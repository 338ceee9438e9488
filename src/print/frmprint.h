#pragma once

#include "format/formatting.h"
#include "printerchoice.h"
#include "editor/richtextedit.h"

#include <QWidget>

#include <memory>

class DiarySession;
class DraftKeeper;
class QPrinter;
class QPushButton;
class QToolBar;
namespace spelling {
class EditorSpelling;
class Service;
}

// The print window: a copy of the day's page, broken into lines as the
// printer will break them, that can be formatted, printed, stored as the
// day's page, or put away. It never blocks the main window.
class Frmprint : public QWidget
{
    Q_OBJECT

public:
    Frmprint(DiarySession &session, const printing::PrinterSource &printer, QWidget *parent = nullptr);
    ~Frmprint() override;

    // The page replaces the copy and the window comes to the front, unless
    // the printer's page could not be laid out.
    void showCopy(const QByteArray &rtf);
    bool compatible() const { return m_compatible; }

    // 1 once the copy was touched since it was last stored, printed or put away.
    int printchanged = 0;

    QToolBar *Toolbar1 = nullptr;
    QPushButton *Command1 = nullptr;
    RichTextEdit *rtxt = nullptr;

    // Marks misspelt words in the copy; a word put right touches it.
    void checkSpelling(spelling::Service &service);

public slots:
    void SavePrintCopy();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void Form_Load();
    void Form_Resize();
    void printCopy();
    void putAway();
    void touch();
    void sealCopy();
    void forgetCopy();
    void recallCopy();
    QAction *command(const char *icon, void (Frmprint::*slot)());

    DiarySession &m_session;
    std::unique_ptr<QPrinter> m_printer;
    formatting::ColorChooser CD;
    bool m_compatible = true;
    DraftKeeper *m_draft = nullptr;
    spelling::EditorSpelling *m_spelling = nullptr;
    // Locked, the copy waits in its sealed draft, written for the lock alone when it had none.
    bool m_copySealed = false;
    bool m_draftForLockOnly = false;
    RichTextEdit::Place m_place;
};
