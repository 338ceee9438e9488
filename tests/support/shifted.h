#pragma once

#include "diary/scramble.h"

#include <QByteArray>

// Each byte moved up by the scramble offset, written out the long way so a
// test does not trust the code it checks.
inline QByteArray shifted(QByteArrayView text)
{
    QByteArray out;
    for (const char c : text)
        out.append(static_cast<char>(static_cast<unsigned char>(c) + kScrambleOffset));
    return out;
}
