#pragma once

#include "sync/conflictcopies.h"

class DataRoot;
class Dialogs;

// What a folder-sync tool left when the diary was changed on two computers
// before they met, dealt with as the diary opens.
namespace syncedcopies {

// Before the password is asked: a second password file is named, never chosen.
void explainPasswordCopies(const DataRoot &root, Dialogs &dialogs);
// Once the diary opens: what merges with no question is merged, and said
// once; then what still needs the user is named, so no such day goes unseen.
// Returns the copies left in the folders, so they need no second listing.
QList<conflictcopies::Found> mergeArrived(const DataRoot &root, Dialogs &dialogs);
// A page's or note's copy left for the user to compare and settle.
bool waitsForUser(const conflictcopies::Found &copy);

} // namespace syncedcopies
