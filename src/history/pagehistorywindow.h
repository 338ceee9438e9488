#pragma once

#include "diary/history.h"

#include <QDialog>
#include <QList>

#include <optional>

class DiarySession;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QTabBar;
class RichTextEdit;

// File > Page History...: the selected day's earlier versions of its page or,
// on the second tab, of its yearly note, newest first, each shown read-only
// as its editor would show it, and one restored.
class PageHistoryWindow : public QDialog
{
    Q_OBJECT

public:
    PageHistoryWindow(DiarySession &session, QWidget *parent = nullptr);

    QTabBar *tabs = nullptr;
    QListWidget *List1 = nullptr;
    RichTextEdit *rtxt = nullptr;
    QLabel *Label1 = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    bool showsNote() const;
    std::optional<QByteArray> versionBytes(const history::Version &version) const;
    QString firstLine(const std::optional<QByteArray> &bytes) const;
    void fillList();
    void showChosen();
    void forgetVersions();
    void recallVersions();
    void restoreChosen();

    DiarySession &m_session;
    QList<history::Version> m_versions;
    int m_rowBeforeLock = -1;
};
