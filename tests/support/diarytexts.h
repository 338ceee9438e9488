#pragma once

#include <QByteArray>
#include <QString>

// The questions the diary asks, and a stored page as our writer makes one.
namespace diarytexts {

inline const QString kSaveQuestion = QStringLiteral("File has been changed. Do you want to save the file?");
inline const QString kOverwrite = QStringLiteral("File already exists. Overwrite File?");
inline const QString kDeletePage = QStringLiteral("Are you sure you want to delete the file? This can not be undone!");

inline QByteArray page(const char *text)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard ") + text + "\\par\r\n}";
}

} // namespace diarytexts
