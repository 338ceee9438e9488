#include "form1.h"

#include "access/signin.h"
#include "app/helpcommands.h"
#include "history/pagehistorywindow.h"
#include "seams/clock.h"
#include "seams/dialogs.h"
#include "session/daybook.h"
#include "session/diarymoving.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "ui/modcenter.h"

#include <QDir>
#include <QMenuBar>

namespace {

QAction *item(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // Window-wide, so the keys act even while an editor has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QAction *windowKey(QWidget *window, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu *menu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

QList<QKeySequence> Form1::menuShortcuts() const
{
    QList<QKeySequence> keys;
    for (const QMenu *menu : {m1, m8, m11}) {
        for (const QAction *action : menu->actions()) {
            if (!action->shortcut().isEmpty())
                keys.append(action->shortcut());
        }
    }
    return keys;
}

// The whole keyboard map of the main window is here, but for Ctrl+B, Ctrl+I
// and Ctrl+U, which the toolbar's formatting actions bring for the page editor.
void Form1::buildMenus()
{
    QMenuBar *bar = menuBar();
    m1 = menu(bar, "m1", QStringLiteral("&File"));
    m15 = item(m1, "m15", QStringLiteral("New File"), QKeySequence(Qt::CTRL | Qt::Key_N));
    m3 = item(m1, "m3", QStringLiteral("Open File"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m2 = item(m1, "m2", QStringLiteral("Save File"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m5 = item(m1, "m5", QStringLiteral("Search Files"), QKeySequence(Qt::CTRL | Qt::Key_F));
    m20 = separator(m1, "m20");
    m16 = item(m1, "m16", QStringLiteral("Add Picture"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m17 = item(m1, "m17", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    m4 = item(m1, "m4", QStringLiteral("Delete File"), QKeySequence(Qt::Key_Delete));
    m21 = item(m1, "m21", QStringLiteral("Page History..."));
    m22 = item(m1, "m22", QStringLiteral("Back Up Diary..."));
    m25 = item(m1, "m25", QStringLiteral("Import Diary..."));
    m26 = item(m1, "m26", QStringLiteral("Export..."));
    m6 = separator(m1, "m6");
    m18 = item(m1, "m18", QStringLiteral("Change Password"));
    m23 = item(m1, "m23", QStringLiteral("Encrypt Diary..."));
    m24 = item(m1, "m24", QStringLiteral("Decrypt Diary..."));
    m24->setVisible(false);
    m27 = item(m1, "m27", QStringLiteral("Lock Diary"), QKeySequence(Qt::CTRL | Qt::Key_L));
    m28 = m1->addMenu(QStringLiteral("Lock When Idle"));
    m28->setObjectName(QStringLiteral("m28"));
    buildIdleChoices();
    m19 = separator(m1, "m19");
    m7 = item(m1, "m7", QStringLiteral("Exit"));

    m8 = menu(bar, "m8", QStringLiteral("&Date"));
    m9 = item(m8, "m9", QStringLiteral("Save Date"));
    m10 = item(m8, "m10", QStringLiteral("Delete Date"));

    m11 = menu(bar, "m11", QStringLiteral("&Help"));
    m12 = item(m11, "m12", QStringLiteral("About"));
    m13 = item(m11, "m13", QStringLiteral("Web Page"));
    m14 = item(m11, "m14", QStringLiteral("Help"), QKeySequence(Qt::Key_F1));

    // Keys without a menu item, so the menus stay as designed.
    findNext = windowKey(this, "findNext", QStringLiteral("Next match"), QKeySequence(Qt::Key_F3));
    findPrevious = windowKey(this, "findPrevious", QStringLiteral("Previous match"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
}

// Every menu command, in one place: most go straight to the session.
void Form1::connectMenus()
{
    connect(m15, &QAction::triggered, &m_session.book(), &DayBook::NewPage);
    connect(m3, &QAction::triggered, this, [this] {
        m_session.book().AskToSavePage();
        showOpenPanel();
    });
    connect(openPanel, &QAction::triggered, this, &Form1::showOpenPanel);
    connect(m2, &QAction::triggered, &m_session.book(), &DayBook::SavePage);
    connect(m5, &QAction::triggered, this, &Form1::showSearchPanel);
    connect(m16, &QAction::triggered, this, &Form1::AddPicture);
    connect(m17, &QAction::triggered, this, &Form1::m17_Click);
    connect(m4, &QAction::triggered, &m_session.book(), &DayBook::DeletePage);
    connect(m21, &QAction::triggered, this, [this] {
        auto *window = new PageHistoryWindow(m_session, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowModality(Qt::WindowModal);
        window->show();
    });
    connect(m22, &QAction::triggered, this, &Form1::backUpDiary);
    connect(m25, &QAction::triggered, this, &Form1::importDiary);
    connect(m26, &QAction::triggered, this, &Form1::exportPages);
    connect(m18, &QAction::triggered, this,
            [this] { convertShowingProgress(QStringLiteral("Renewing the key..."), &VaultControls::changePassword); });
    connect(m23, &QAction::triggered, this,
            [this] { convertShowingProgress(QStringLiteral("Encrypting..."), &VaultControls::encryptDiary); });
    connect(m24, &QAction::triggered, this,
            [this] { convertShowingProgress(QStringLiteral("Decrypting..."), &VaultControls::decryptDiary); });
    connect(m27, &QAction::triggered, &m_session.vault(), &VaultControls::lockDiary);
    connect(&m_session.vault(), &VaultControls::encryptionChanged, this, [this](bool encrypted) {
        m23->setVisible(!encrypted);
        m24->setVisible(encrypted);
        m27->setEnabled(encrypted);
        m28->setEnabled(encrypted);
    });
    connect(m7, &QAction::triggered, this, [this] {
        if (!leaveDiary())
            return;
        StopCentering();
        endProgram();
    });
    connect(m9, &QAction::triggered, &m_session.notes(), &YearNotes::saveNote);
    connect(m10, &QAction::triggered, &m_session.notes(), &YearNotes::deleteNote);
    connect(m12, &QAction::triggered, this, [this] { helpcommands::about(*m_services.dialogs); });
    connect(m13, &QAction::triggered, this, [this] { helpcommands::webPage(m_services.openUrl, *m_services.dialogs); });
    connect(m14, &QAction::triggered, this,
            [this] { helpcommands::help(m_services.openUrl, m_session.dataRoot(), *m_services.dialogs, this); });
}

void Form1::backUpDiary()
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("quillnest-backup-%1.zip").arg(m_services.clock->today().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString path = m_services.dialogs->saveFile(QStringLiteral("Back Up Diary"), suggested, QStringLiteral("Zip archives (*.zip)|*.zip"));
    if (path.isEmpty())
        return;
    m_session.moving().backUp(path);
}
