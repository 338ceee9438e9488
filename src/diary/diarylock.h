#pragma once

#include "diary/dataroot.h"

#include <QLockFile>

// Keeps one program at a time writing to a diary folder. The lock lives in
// the user's runtime folder, not in the diary, so a diary's own files stay
// exactly as they are; a lock left by a killed program is taken over.
class DiaryLock
{
public:
    enum class State { Held, HeldElsewhere, Unavailable };

    explicit DiaryLock(const DataRoot &root);

    // Unavailable when the runtime folder cannot hold a lock: the diary is
    // then opened unlocked rather than not at all.
    State acquire();

    static QString lockPath(const DataRoot &root);
    // Where the program that holds the diary listens for a second start,
    // beside the lock and named after the diary folder and the user.
    static QString knockPath(const DataRoot &root);

private:
    QLockFile m_file;
};

inline const QString kDiaryAlreadyOpen = QStringLiteral("This diary is already open in another Quillnest window.");
