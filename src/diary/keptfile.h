#pragma once

#include "dataroot.h"
#include "history.h"
#include "outcome.h"

#include <QByteArrayView>
#include <QString>

// A page or note file, whose every overwrite or removal keeps the version it
// replaces in the history first, as history::keep says.
namespace keptfile {

// written, when given, receives the ancestry id of the bytes stored.
Outcome save(const DataRoot &root, const QString &file, QByteArrayView plain, history::Unkept unkept, QString *written = nullptr);
Outcome remove(const DataRoot &root, const QString &file, history::Unkept unkept);

} // namespace keptfile
