#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

class Dialogs;

// Tells other computers sharing the diary folder that this one has the
// diary open, for as long as the window is, and tells the user at the start
// when another computer has it open too.
class PresenceKeeper : public QObject
{
public:
    PresenceKeeper(QString diaryFolder, QObject *parent);
    ~PresenceKeeper() override;

    // False when the user would rather quit than open a diary open elsewhere.
    bool admit(Dialogs &dialogs);

private:
    QString m_folder;
    QDateTime m_since;
    QTimer m_refresh;
};
