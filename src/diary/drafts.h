#pragma once

#include "dataroot.h"
#include "outcome.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What was typed and not yet stored, kept on disk while the program runs so a
// killed program loses at most the last moments: .drafts/<computer>/page@yyyy-
// mm-dd.dat, print@yyyy-mm-dd.dat (the print window's copy) and note@Mmm-d.dat,
// each stored exactly as the page or note itself would be. The folder is
// hidden and outside pages and dates, so no list ever shows a draft, and each
// computer sharing the diary through a sync tool has its own, so a draft is
// never offered on a computer where it was not typed. Drafts written straight
// under .drafts, before each computer had its own, are still found.
namespace drafts {

enum class Kind { Page, PrintCopy, Note };

struct Draft
{
    Kind kind = Kind::Page;
    QString key; // the day key, or the note key for a note
    QString path;
};

QString folder(const DataRoot &root);
QString path(const DataRoot &root, Kind kind, const QString &key);
// The page or note file the draft would be stored as.
QString storedFile(const DataRoot &root, const Draft &draft);

// content: a page's RTF, or a note's text as UTF-8.
Outcome write(const DataRoot &root, Kind kind, const QString &key, const QByteArray &content);
void remove(const DataRoot &root, Kind kind, const QString &key);
// Moves the draft into the history as a version of its page or note.
void setAside(const DataRoot &root, const Draft &draft);

// Pages first, then print copies, then notes; names that are no draft's are left alone.
QList<Draft> found(const DataRoot &root);

} // namespace drafts
