#pragma once

#include "diary/dataroot.h"

#include <QLocalServer>

#include <functional>

// A second start on a diary that is open tells the program holding it to
// bring its window forward. They meet on a local socket at
// DiaryLock::knockPath: one per diary and user, in the user's own folder,
// open to the user alone. The message says nothing but "come forward".
class KnockListener : public QObject
{
public:
    // Only the diary's lock holder listens, so a socket left by a program
    // that was killed is taken over.
    KnockListener(const DataRoot &root, std::function<void()> heard, QObject *parent = nullptr);

    bool listening() const { return m_server.isListening(); }

private:
    void answer();

    QLocalServer m_server;
    std::function<void()> m_heard;
};

// False when no program listens for the diary.
bool knockOnWindow(const DataRoot &root);
