#include "remindersettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace reminder {

namespace {

const QString kOnKey = QStringLiteral("reminder/on");
const QString kTimeKey = QStringLiteral("reminder/time");
const QString kLastKey = QStringLiteral("reminder/lastReminded");

} // namespace

QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quillnest/quillnest.conf");
}

Settings read(const QString &file)
{
    const QSettings settings(file, QSettings::IniFormat);
    Settings read;
    read.on = settings.value(kOnKey, false).toBool();
    const QTime time = QTime::fromString(settings.value(kTimeKey).toString(), QStringLiteral("HH:mm"));
    if (time.isValid())
        read.time = time;
    read.lastReminded = QDate::fromString(settings.value(kLastKey).toString(), Qt::ISODate);
    return read;
}

void writeChoice(const QString &file, bool on, QTime time)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(kOnKey, on);
    settings.setValue(kTimeKey, time.toString(QStringLiteral("HH:mm")));
}

void markReminded(const QString &file, QDate day)
{
    QSettings(file, QSettings::IniFormat).setValue(kLastKey, day.toString(Qt::ISODate));
}

} // namespace reminder
