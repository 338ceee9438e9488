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
    // the lock file cannot be had (a FIFO, a link or a folder in its place, a
    // folder that cannot be written or locked): the diary is then not opened.
    State acquire(const QString &program = kWindowProgram, std::chrono::milliseconds patience = {});

    // After HeldElsewhere: the message that says who holds the diary.
    QString heldElsewhereMessage() const;
    // After Unavailable: the message that says why the diary cannot be locked.
    QString unavailableMessage() const;

    static QString lockPath(const DataRoot &root);
    // Where the program that holds the diary listens for a second start,
    // beside the lock and named after the diary folder and the user.
    static QString knockPath(const DataRoot &root);

    static inline const QString kWindowProgram = QStringLiteral("Quillnest");

private:
    State tryOnce();
    State unavailable(const QString &why);
    void writeHolder(const QString &program);
    QString readHolder() const;

    QString m_path;
    QString m_folderPath;
    QString m_unavailable;
    int m_fd = -1;
    int m_folder = -1;
    bool m_held = false;
};

inline const QString kDiaryAlreadyOpen = QStringLiteral("This diary is already open in another Quillnest window.");
