#pragma once

#include "diary/dataroot.h"

#include <QString>

#include <chrono>

// Keeps one program at a time writing to a diary folder. The lock is a hidden
// file in the diary folder itself, so every program that can open the diary
// sees it whatever its environment. It is held by flock, which the system
// lets go when its holder ends however it ends, so a file left behind is
// simply taken over. The file names its holder for the message of the next
// program that tries.
class DiaryLock
{
public:
    enum class State { Held, HeldElsewhere, Unavailable };

    explicit DiaryLock(const DataRoot &root);
    ~DiaryLock();
    DiaryLock(const DiaryLock &) = delete;
    DiaryLock &operator=(const DiaryLock &) = delete;

    // program names this holder to the others. While another program holds
    // the diary it is tried again until patience runs out. Unavailable when
    // the folder cannot hold a lock: the diary is then opened unlocked
    // rather than not at all.
    State acquire(const QString &program = kWindowProgram, std::chrono::milliseconds patience = {});

    // After HeldElsewhere: the message that says who holds the diary.
    QString heldElsewhereMessage() const;

    static QString lockPath(const DataRoot &root);
    // Where the program that holds the diary listens for a second start,
    // beside the lock and named after the diary folder and the user.
    static QString knockPath(const DataRoot &root);

    static inline const QString kWindowProgram = QStringLiteral("Quillnest");

private:
    State tryOnce();
    void writeHolder(const QString &program);
    QString readHolder() const;

    QString m_path;
    int m_fd = -1;
    bool m_held = false;
};

inline const QString kDiaryAlreadyOpen = QStringLiteral("This diary is already open in another Quillnest window.");
