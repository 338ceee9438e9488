#pragma once

#include <QTime>

#include <optional>

class QString;
class QWidget;

// A time of day in the locale's form: the box behind Date > Daily Reminder....
std::optional<QTime> runTimeDialog(QWidget *parent, const QString &title, const QString &prompt, QTime offered);
