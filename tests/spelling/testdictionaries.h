#pragma once

#include "spelling/dictionaries.h"

#include <QTemporaryDir>

// The system's en_US and a tiny French one made here, and a personal word
// list of the test's own, so no test reads or writes the user's.
struct TestDictionaries
{
    TestDictionaries();

    QTemporaryDir folder;
    QList<spelling::Dictionary> dictionaries;
    QString personalWords() const { return folder.filePath(QStringLiteral("config/words.txt")); }
};
