#pragma once

#include "sync/copymerge.h"

#include <QByteArrayView>

class Dialogs;

// The page here beside another computer's version of it, the paragraphs
// either lacks marked, for the user to say which to keep.
namespace pagecompare {

// Nothing on Cancel.
std::optional<copymerge::Keep> ask(Dialogs &dialogs, const QString &prompt, QByteArrayView ours, QByteArrayView theirs,
                                   const QString &otherCaption);
// A yearly note's two versions, line by line.
std::optional<copymerge::Keep> askLines(Dialogs &dialogs, const QString &prompt, const QStringList &ours, const QStringList &theirs,
                                        const QString &otherCaption);

} // namespace pagecompare
