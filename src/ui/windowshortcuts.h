#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

// Keeps a window's shortcut keys for the window while an editor has the
// focus: an editor would otherwise take Delete or Ctrl+A for its own editing.
class WindowShortcuts : public QObject
{
    Q_OBJECT

public:
    WindowShortcuts(const QList<QKeySequence> &keys, QObject *parent);

    void keepFrom(QWidget *editor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QKeySequence> m_keys;
};
