#pragma once

#include "seams/dialogs.h"

#include <QDate>
#include <QString>

// Every box the program puts in front of the user, in one place, so that
// the code and its tests name a box instead of copying its words.
namespace messages {

struct Box
{
    QString text;
    QString title;
    Dialogs::Icon icon = Dialogs::Icon::None;
    Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
    Dialogs::Button defaultButton = Dialogs::Button::Ok;

    friend bool operator==(const Box &, const Box &) = default;
};

// Shows `box`; the button pressed.
Dialogs::Button ask(Dialogs &dialogs, const Box &box);
// Shows `box`, which has nothing to choose.
void tell(Dialogs &dialogs, const Box &box);
// A question answered Yes (or OK).
bool agreed(Dialogs &dialogs, const Box &box);

// Signing in and the plain diary's password
Box passwordFileTampered();
Box damagedKeySlot();
Box wrongPassword();
Box wrongPasswordOrDamage();
Box keySlotMended();
Box keySlotNotMended();
Box passwordTooShort(int shortest);
Box passwordsDiffer();
Box noPassword();
Box passwordNotChanged();
Box passwordNotSaved(const QString &reason = {});
Box passwordSaved();

// Encrypting, decrypting, the encrypted diary's password
Box newPasswordRefused(const QString &refusal, const QString &title);
Box newPasswordsDiffer(const QString &title);
Box wrongPasswordNotDecrypted();
Box wrongPasswordNotChanged();
Box encryptDiary();
Box encryptionFailed(const QString &reason);
Box diaryEncrypted();
Box decryptDiary();
Box passwordNotPlain();
Box decryptionFailed(const QString &reason);
Box diaryDecrypted();
Box filesSetAside(const QStringList &names);

// The diary folder
Box passwordFileLost(const QString &lost);
Box diaryHeldElsewhere(const QString &held);
Box folderGone(const QString &folder);
Box openElsewhere(const QString &computer, const QString &since);
Box passwordFileCopy(const QString &copy, const QString &told);
Box copiesMerged(const QStringList &merged);
Box pageMergedOnSave();
Box noteMergedOnSave(bool bothKept);
QString pageChangedElsewhere(const QString &told);
Box copiesWaiting(const QStringList &waiting);
QString noteChangedElsewhere(const QString &told);
QString pageArrived();
QString noteArrived();
QString copyWaitingTip();

// Pages
Box savePage();
Box noTextToSave();
Box pageTooLarge(const QString &reason = {});
Box overwritePage();
Box pageNotFound();
Box deletePage();
Box pageNotSaved(const QString &reason = {});
Box pageNotOpened(const QString &reason = {});
Box pageNotDeleted(const QString &reason = {});
Box pageVersionNotKept();
Box pageDeletionNotKept();

// Notes
Box noteUnopened(const QString &day, const QString &file);
Box saveNote(const QString &day);
Box noteNotFound();
Box deleteNote();
Box noteNotSaved(const QString &reason = {});
Box noteNotDeleted(const QString &reason = {});
Box noteVersionNotKept();
Box noteDeletionNotKept();

// Unsaved work found at start
Box pageFound(bool printCopy, QDate day);
Box noteFound(QDate day);
Box draftUnopened(const QString &what, const QString &file);

// Import, export, backup
Box importFailed(const QString &reason);
Box importEmpty(const QString &fileName);
Box importDone(const QString &summary, bool failed);
Box importOverPages(int clashing);
Box nothingToExport();
Box exportPartial(const QString &leftOut);
Box exportSaved();
Box exportFailed(const QString &reason);
Box backupSaved();
Box backupSavedWithout(const QStringList &leftOut);
Box backupFailed(const QString &reason);

// Printing
Box nothingToPrint();
Box previewNotCompatible();
Box printerError();
Box printFailed();
Box printFailure(int number, const QString &description, const QString &title);

// Pictures
Box pictureTooLarge();
Box clipboardUnavailable();
Box notAPicture();

// Help
Box about();
Box webPageUnopened(const QString &page);

// The daily reminder
Box reminderNotOn(const QString &reason);
Box reminderNotOff(const QString &reason);

} // namespace messages
