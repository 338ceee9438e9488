#pragma once

#include <QString>
#include <QStringList>

// "Images|*.jpg;*.gif|All Files (*.*)|*.*" as the name filters of a Qt file
// dialog, in the same order. A trailing description without patterns is dropped.
QStringList qtNameFilters(const QString &pipeFilter);
