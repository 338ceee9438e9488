#pragma once

#include "seams/dialogs.h"

#include <array>

class QWidget;

// Two versions of a page side by side, neither editable, with a button per
// way of settling them.
std::optional<int> runCompareDialog(QWidget *parent, const QString &title, const QString &prompt,
                                    const std::array<Dialogs::Side, 2> &sides, const QStringList &choices);
