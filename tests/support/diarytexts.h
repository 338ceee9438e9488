#pragma once

#include "seams/messages.h"

#include <QByteArray>
#include <QString>

// The questions the diary asks, and a stored page as our writer makes one.
namespace diarytexts {

inline const QString kSaveQuestion = messages::savePage().text;
inline const QString kOverwrite = messages::overwritePage().text;
inline const QString kDeletePage = messages::deletePage().text;

inline QByteArray page(const char *text)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard ") + text + "\\par\r\n}";
}

} // namespace diarytexts
