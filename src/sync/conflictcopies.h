#pragma once

#include "conflictnames.h"

#include <QList>
#include <QString>

class DataRoot;

// The sync tools' copies of a diary's pages, notes and password file, found
// beside them. An encrypted diary's copy is its page's only when it opens
// under that page's name, so a copy is never put to a page it was not
// sealed for.
namespace conflictcopies {

enum class Kind { Page, Note, PasswordFile };

struct Found
{
    Kind kind = Kind::Page;
    QString copy;     // relative to the diary: "pages/2026-12-04.sync-conflict-….dat"
    QString original; // "pages/2026-12-04.dat"
    conflictnames::Copy name;
    bool opens = false; // under the original's name; always true of pw.dat's copies, which are never opened here
    // A FIFO, a device, a folder or a link named like a copy is listed as
    // such, and never opened, followed or merged.
    bool regular = true;
};

QList<Found> find(const DataRoot &root);
// Only pw.dat's, which need no listing of the pages.
QList<Found> passwordFileCopies(const DataRoot &root);

} // namespace conflictcopies
