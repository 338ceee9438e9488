#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace reminder {

// The daily reminder's choices, kept with the program's other settings, so
// the tool the timer starts reads what the window chose.
struct Settings
{
    bool on = false;
    QTime time{20, 0};
    // A timer that fires again the same day (catching up after a restart) stays quiet.
    QDate lastReminded;

    friend bool operator==(const Settings &, const Settings &) = default;
};

// The program's settings file in the user's configuration folder.
QString settingsFile();
Settings read(const QString &file);
// The switch and its time; the day last reminded stays.
void writeChoice(const QString &file, bool on, QTime time);
void markReminded(const QString &file, QDate day);

} // namespace reminder
