#pragma once

class DataRoot;
class Dialogs;

// What a folder-sync tool left when the diary was changed on two computers
// before they met, dealt with as the diary opens.
namespace syncedcopies {

// Before the password is asked: a second password file is named, never chosen.
void explainPasswordCopies(const DataRoot &root, Dialogs &dialogs);
// Once the diary opens: what merges with no question is merged, and said once.
void mergeArrived(const DataRoot &root, Dialogs &dialogs);

} // namespace syncedcopies
