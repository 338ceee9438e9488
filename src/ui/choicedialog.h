#pragma once

#include "seams/dialogs.h"

class QWidget;

// A choice from a list and, when offered, a range of days: the box behind
// File > Import Diary... and Export....
std::optional<Dialogs::Choice> runChoiceDialog(QWidget *parent, const QString &title, const QString &prompt,
                                               const QStringList &choices, const Dialogs::Choice &offered);
