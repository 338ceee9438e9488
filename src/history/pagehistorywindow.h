#pragma once

#include "diary/history.h"

#include <QDialog>
#include <QList>

class DiarySession;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class RichTextEdit;

// File > Page History...: the selected day's earlier versions, newest first,
// each shown read-only as the page editor would show it, and one restored.
class PageHistoryWindow : public QDialog
{
    Q_OBJECT

public:
    PageHistoryWindow(DiarySession &session, QWidget *parent = nullptr);

    QListWidget *List1 = nullptr;
    RichTextEdit *rtxt = nullptr;
    QLabel *Label1 = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    void fillList();
    void showChosen();
    void restoreChosen();

    DiarySession &m_session;
    QList<history::Version> m_versions;
};
