#include "messages.h"

namespace messages {

namespace {

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;

// Views, not QStrings: tests may build their expected boxes before main().
constexpr QLatin1StringView kProgram("Quillnest version 2");
constexpr QLatin1StringView kImportTitle("Import Diary");
constexpr QLatin1StringView kExportTitle("Export");
constexpr QLatin1StringView kEncryptTitle("Encrypt Diary");
constexpr QLatin1StringView kDecryptTitle("Decrypt Diary");
constexpr QLatin1StringView kNotClosed("Quillnest did not close properly last time. ");

Box box(const QString &text, const QString &title, Icon icon, Buttons buttons = Buttons::Ok)
{
    return Box{text, title, icon, buttons, firstButton(buttons)};
}

// A question whose refusal is the safe default.
Box refusable(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    return Box{text, title, icon, buttons, closingButton(buttons)};
}

// What failed, and on a line of its own why, when that is known.
Box failure(const QString &text, const QString &reason)
{
    return box(reason.isEmpty() ? text : text + QLatin1Char('\n') + reason, QStringLiteral("ERROR"), Icon::Critical);
}

Box versionNotKept(const QString &text)
{
    return refusable(text, QStringLiteral("Earlier Version Not Kept"), Icon::Exclamation, Buttons::YesNo);
}

} // namespace

Dialogs::Button ask(Dialogs &dialogs, const Box &box)
{
    return dialogs.message(box.text, box.title, box.icon, box.buttons, box.defaultButton);
}

void tell(Dialogs &dialogs, const Box &box)
{
    ask(dialogs, box);
}

bool agreed(Dialogs &dialogs, const Box &box)
{
    return ask(dialogs, box) == firstButton(box.buttons);
}

Box passwordFileTampered()
{
    return box(QStringLiteral("The password file has been erased or tampered with! This program will now close!"),
               QStringLiteral("Password File has been tampered with!"), Icon::Critical);
}

Box damagedKeySlot()
{
    return box(QStringLiteral("The password file of this encrypted diary is damaged: its key cannot be read. Nothing has been changed. "
                              "This program will now close!"),
               QStringLiteral("Password File is damaged"), Icon::Critical);
}

Box wrongPassword()
{
    return box(QStringLiteral("The password you have entered is incorrect. This program will end now."), QStringLiteral("Wrong Password!"),
               Icon::Critical);
}

Box wrongPasswordOrDamage()
{
    return box(QStringLiteral("The password you have entered is incorrect, or the password file is damaged: its two copies "
                              "of the key differ. This program will end now."),
               QStringLiteral("Wrong Password!"), Icon::Critical);
}

Box keySlotMended()
{
    return box(QStringLiteral("One of the two copies of the key in the password file was damaged. It has been "
                              "replaced by the other copy, which is whole."),
               QStringLiteral("Password File Repaired"), Icon::Information);
}

Box keySlotNotMended()
{
    return box(QStringLiteral("One of the two copies of the key in the password file is damaged and could not be "
                              "replaced. The other copy still opens the diary."),
               QStringLiteral("Password File is damaged"), Icon::Exclamation);
}

Box passwordTooShort(int shortest)
{
    return box(QStringLiteral("Password must have at least %1 characters. The password will not be saved!").arg(shortest), kProgram,
               Icon::Exclamation);
}

Box passwordsDiffer()
{
    return box(QStringLiteral("The two passwords are not the same. Please enter the new password again."), kProgram, Icon::Exclamation);
}

Box noPassword()
{
    return box(QStringLiteral("Quillnest has no password. Click on ''File'' and click 'Change Password' to asign a password."), kProgram,
               Icon::Exclamation);
}

Box passwordNotChanged()
{
    return box(QStringLiteral("Password has not been saved!"), QStringLiteral("Password NOT Saved"), Icon::Information);
}

Box passwordNotSaved(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The password was not saved!"), reason);
}

Box passwordSaved()
{
    return box(QStringLiteral("Password has been saved"), QStringLiteral("Password Saved"), Icon::Information);
}

Box newPasswordRefused(const QString &refusal, const QString &title)
{
    return box(refusal.at(0).toUpper() + refusal.mid(1) + QStringLiteral(". Please enter another password."), title, Icon::Exclamation);
}

Box newPasswordsDiffer(const QString &title)
{
    return box(QStringLiteral("The two passwords are not the same. Please enter the new password again."), title, Icon::Exclamation);
}

Box wrongPasswordNotDecrypted()
{
    return box(QStringLiteral("The password you have entered is incorrect. The diary has not been decrypted."), QStringLiteral("Wrong Password!"),
               Icon::Critical);
}

Box wrongPasswordNotChanged()
{
    return box(QStringLiteral("The password you have entered is incorrect. The password has not been changed."), QStringLiteral("Wrong Password!"),
               Icon::Critical);
}

Box encryptDiary()
{
    return refusable(QStringLiteral("Encrypting stores every page and note so that only your password can open them, "
                                    "and no one can recover a forgotten password. Copies of the plain pages can remain "
                                    "on the disk, in backups, in synced copies and in snapshots; only full-disk "
                                    "encryption protects those. Do you want to encrypt this diary now?"),
                     kEncryptTitle, Icon::Question, Buttons::YesNo);
}

Box encryptionFailed(const QString &reason)
{
    return failure(QStringLiteral("The diary has not been encrypted: %1").arg(reason), {});
}

Box diaryEncrypted()
{
    return box(QStringLiteral("The diary is now encrypted. Keep your password safe: without it no one can open the diary."),
               QStringLiteral("Diary Encrypted"), Icon::Information);
}

Box decryptDiary()
{
    return refusable(QStringLiteral("Decrypting stores every page and note as a plain diary again, which anyone who copies "
                                    "its folder can read. Do you want to decrypt this diary now?"),
                     kDecryptTitle, Icon::Question, Buttons::YesNo);
}

Box passwordNotPlain()
{
    return box(QStringLiteral("This password has characters a plain diary cannot keep. Change the password to one "
                              "without them first; the diary has not been decrypted."),
               kDecryptTitle, Icon::Exclamation);
}

Box decryptionFailed(const QString &reason)
{
    return failure(QStringLiteral("The diary has not been decrypted: %1").arg(reason), {});
}

Box diaryDecrypted()
{
    return box(QStringLiteral("The diary is a plain diary again."), QStringLiteral("Diary Decrypted"), Icon::Information);
}

Box filesSetAside(const QStringList &names)
{
    return box(QStringLiteral("These files do not open with this diary's key, so they were left as they were in the "
                              "folder \"set-aside\" of the diary: %1.")
                   .arg(names.join(QStringLiteral(", "))),
               kProgram, Icon::Exclamation, Buttons::Ok);
}

Box passwordFileLost(const QString &lost)
{
    return box(lost + QStringLiteral(" This program will now close!"), QStringLiteral("Password File does not fit this Diary"), Icon::Critical);
}

Box diaryHeldElsewhere(const QString &held)
{
    return box(held, kProgram, Icon::Exclamation);
}

// OK goes on, Cancel quits: both computers' changes are kept and merged.
Box openElsewhere(const QString &computer, const QString &since)
{
    return box(QStringLiteral("This diary is open on %1 since %2. Changes made on both computers may need to be merged.")
                   .arg(computer, since),
               kProgram, Icon::Exclamation, Buttons::OkCancel);
}

// Neither password file is chosen without the user: the one in place is
// used, and the other stays where the user can put it in place.
Box passwordFileCopy(const QString &copy, const QString &told)
{
    return box(QStringLiteral("The password file was also changed on another computer (%1), which kept its version as "
                              "%2. Quillnest opens the diary with pw.dat as it is. If the password you use now is the "
                              "other computer's, quit, keep pw.dat aside and give %2 its name.")
                   .arg(told, copy),
               kProgram, Icon::Exclamation, Buttons::Ok);
}

Box copiesMerged(const QStringList &merged)
{
    return box(QStringLiteral("These were changed on two computers and have been merged: %1. Each computer's version is "
                              "kept in the history.")
                   .arg(merged.join(QStringLiteral(", "))),
               kProgram, Icon::Information, Buttons::Ok);
}

Box pageMergedOnSave()
{
    return box(QStringLiteral("This page was also changed on another computer since you opened it. The two versions have "
                              "been merged, and the other computer's is kept in the history."),
               kProgram, Icon::Information, Buttons::Ok);
}

Box noteMergedOnSave(bool bothKept)
{
    return box(bothKept ? QStringLiteral("This note was also changed on another computer since you opened it, in the same lines. "
                                         "Both versions have been kept in the note, the other computer's below yours.")
                        : QStringLiteral("This note was also changed on another computer since you opened it. The two versions "
                                         "have been merged, and the other computer's is kept in the history."),
               kProgram, Icon::Information, Buttons::Ok);
}

// The bar above a page with a copy left, and the question of the window comparing them.
QString pageChangedElsewhere(const QString &told)
{
    return QStringLiteral("This page was also changed on another computer (%1).").arg(told);
}

// Said only where a sync tool left copies, so a diary kept on one computer never sees it.
Box copiesWaiting(const QStringList &waiting)
{
    return box(QStringLiteral("These were also changed on another computer, and the two versions need you to choose what "
                              "to keep: %1. The calendar marks their days; open one and press Compare... above its page "
                              "or note.")
                   .arg(waiting.join(QStringLiteral(", "))),
               kProgram, Icon::Information, Buttons::Ok);
}

QString noteChangedElsewhere(const QString &told)
{
    return QStringLiteral("This yearly note was also changed on another computer (%1).").arg(told);
}

// The bar's line over a page or note that another computer's save replaced while it lay open untouched.
QString pageArrived()
{
    return QStringLiteral("This page was changed on another computer and now shows as saved there.");
}

QString noteArrived()
{
    return QStringLiteral("This yearly note was changed on another computer and now shows as saved there.");
}

QString copyWaitingTip()
{
    return QStringLiteral("Changed on two computers: open this day to choose what to keep.");
}

Box folderGone(const QString &folder)
{
    return box(QStringLiteral("The diary folder %1 is gone. Nothing can be saved until it is back.").arg(folder),
               QStringLiteral("Diary Folder Gone"), Icon::Critical);
}

Box savePage()
{
    return box(QStringLiteral("File has been changed. Do you want to save the file?"), QStringLiteral("Save File?"), Icon::Question,
               Buttons::YesNo);
}

Box noTextToSave()
{
    return box(QStringLiteral("Error...No text to save! Enter text first, then save the file."), QStringLiteral("File Not Saved"),
               Icon::Critical);
}

Box pageTooLarge(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The amount of the data is too large! The file was not saved!"), reason);
}

Box overwritePage()
{
    return box(QStringLiteral("File already exists. Overwrite File?"), QStringLiteral("Overwrite File?"), Icon::Question, Buttons::YesNo);
}

Box pageNotFound()
{
    return box(QStringLiteral("Error...File not found. Open file that you wish to delete and then press ''Delete''."),
               QStringLiteral("File Not Found"), Icon::Critical);
}

Box deletePage()
{
    return refusable(QStringLiteral("Are you sure you want to delete the file? This can not be undone!"), QStringLiteral("Delete File?"),
                     Icon::Question, Buttons::YesNo);
}

Box pageNotSaved(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The file was not saved!"), reason);
}

Box pageNotOpened(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The file was not opened!"), reason);
}

Box pageNotDeleted(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The file was not deleted!"), reason);
}

Box pageVersionNotKept()
{
    return versionNotKept(QStringLiteral("The page was not saved: its earlier version could not be kept. Save anyway?"));
}

Box pageDeletionNotKept()
{
    return versionNotKept(QStringLiteral("The page was not deleted: it could not be kept among the earlier versions. Delete anyway?"));
}

Box noteUnopened(const QString &day, const QString &file)
{
    return box(QStringLiteral("The note for %1 (%2) does not open: it is damaged or is not this diary's. It is shown "
                              "empty; its file is left as it is until a note for the day is saved, and then kept in "
                              "the history.")
                   .arg(day, file),
               QStringLiteral("Note does not open"), Icon::Critical);
}

Box saveNote(const QString &day)
{
    return box(QStringLiteral("The note for %1 has been changed. Do you want to save it?").arg(day), QStringLiteral("Save Date?"),
               Icon::Question, Buttons::YesNoCancel);
}

Box noteNotFound()
{
    return box(QStringLiteral("Error...File not found. Open date file that you wish to delete and then press ''Delete''."),
               QStringLiteral("File Not Found"), Icon::Critical);
}

Box deleteNote()
{
    return refusable(QStringLiteral("Are you sure you want to delete this file? You will not be able to undo this operation!"),
                     QStringLiteral("Delete File"), Icon::Exclamation, Buttons::OkCancel);
}

Box noteNotSaved(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The date was not saved!"), reason);
}

Box noteNotDeleted(const QString &reason)
{
    return failure(QStringLiteral("An error has occured! The date was not deleted!"), reason);
}

Box noteVersionNotKept()
{
    return versionNotKept(QStringLiteral("The note was not saved: its earlier version could not be kept. Save anyway?"));
}

Box noteDeletionNotKept()
{
    return versionNotKept(QStringLiteral("The note was not deleted: it could not be kept among the earlier versions. Delete anyway?"));
}

Box pageFound(bool printCopy, QDate day)
{
    const QString what = printCopy ? QStringLiteral("An unsaved copy of the page for %1 from the print window")
                                   : QStringLiteral("An unsaved page for %1");
    return box(QString(kNotClosed) + what.arg(day.toString(QStringLiteral("d MMMM yyyy")))
                   + QStringLiteral(" was kept. Do you want to bring it back? If you choose No, it is kept in the page's history."),
               QStringLiteral("Unsaved Page Found"), Icon::Question, Buttons::YesNo);
}

Box noteFound(QDate day)
{
    return box(QString(kNotClosed)
                   + QStringLiteral("An unsaved note for %1 was kept. Do you want to bring it back? If you choose No, it is kept in the history.")
                         .arg(day.toString(QStringLiteral("MMMM d"))),
               QStringLiteral("Unsaved Note Found"), Icon::Question, Buttons::YesNo);
}

Box draftUnopened(const QString &what, const QString &file)
{
    return box(QStringLiteral("The unsaved %1 kept in %2 does not open: it is damaged or is not this diary's. It has been "
                              "moved into the %1's history.")
                   .arg(what, file),
               QStringLiteral("Unsaved Work does not open"), Icon::Critical);
}

Box importFailed(const QString &reason)
{
    return box(QStringLiteral("Nothing was imported. %1").arg(reason), kImportTitle, Icon::Critical);
}

Box importEmpty(const QString &fileName)
{
    return box(QStringLiteral("%1 holds no entries.").arg(fileName), kImportTitle, Icon::Information);
}

Box importDone(const QString &summary, bool failed)
{
    return box(summary, kImportTitle, failed ? Icon::Exclamation : Icon::Information);
}

Box importOverPages(int clashing)
{
    const QString question = clashing == 1
        ? QStringLiteral("1 of the days being imported already has a page. Do you want to add the imported text below "
                         "that page? If you choose No, that day is left as it is.")
        : QStringLiteral("%1 of the days being imported already have a page. Do you want to add the imported text below "
                         "those pages? If you choose No, those days are left as they are.")
              .arg(clashing);
    return box(question, kImportTitle, Icon::Question, Buttons::YesNo);
}

Box nothingToExport()
{
    return box(QStringLiteral("There are no pages to export."), kExportTitle, Icon::Information);
}

Box exportPartial(const QString &leftOut)
{
    return box(QStringLiteral("Export saved without the pages of %1, which could not be read.").arg(leftOut), kExportTitle,
               Icon::Exclamation);
}

Box exportSaved()
{
    return box(QStringLiteral("Export saved"), kExportTitle, Icon::Information);
}

Box exportFailed(const QString &reason)
{
    return box(QStringLiteral("The pages were not exported: %1").arg(reason), kExportTitle, Icon::Exclamation);
}

Box backupSaved()
{
    return box(QStringLiteral("Backup saved"), kProgram, Icon::Information);
}

// A FIFO, a link or a folder named like one of the diary's files cannot go into a backup.
Box backupSavedWithout(const QStringList &leftOut)
{
    return box(QStringLiteral("Backup saved without %1, which %2 not a regular file.")
                   .arg(leftOut.join(QStringLiteral(", ")), leftOut.size() == 1 ? QStringLiteral("is") : QStringLiteral("are")),
               kProgram, Icon::Exclamation);
}

Box backupFailed(const QString &reason)
{
    return box(reason, kProgram, Icon::Exclamation);
}

Box nothingToPrint()
{
    return box(QStringLiteral("There is nothing to print. Write or open a page first."), QStringLiteral("Print"), Icon::Information);
}

Box previewNotCompatible()
{
    return box(QStringLiteral("Error...There was an error with the print preview. Your computer is not compatible with this feature."),
               QStringLiteral("Not compatible"), Icon::Critical);
}

Box printerError()
{
    return box(QStringLiteral("Printer ERROR...Make sure you have a printer selected and it is online, with paper, and not jammed."),
               QStringLiteral("Printer ERROR!"), Icon::Critical);
}

Box printFailed()
{
    return box(QStringLiteral("There was an error while trying to Print!"), QStringLiteral("Printer ERROR!"), Icon::Critical);
}

Box printFailure(int number, const QString &description, const QString &title)
{
    return box(QStringLiteral("Error %1: %2").arg(number).arg(description), title, Icon::None);
}

Box pictureTooLarge()
{
    return box(QStringLiteral("The picture would be too large at this size! Choose a smaller size."), QStringLiteral("Picture Too Large"),
               Icon::Exclamation);
}

Box clipboardUnavailable()
{
    return box(QStringLiteral("The picture could not be put on the clipboard! Nothing was pasted."), QStringLiteral("Clipboard Not Available"),
               Icon::Critical);
}

Box notAPicture()
{
    return box(QStringLiteral("The file entered was not a valid picture file! choose a jpg, bmp, of gif!"), QStringLiteral("File is not Valid"),
               Icon::Critical);
}

Box about()
{
    return box(QStringLiteral("Quillnest version 2\n\nA private diary for your desktop.\n"
                              "Written by the Quillnest developers."),
               QStringLiteral("About Quillnest version 2"), Icon::Information);
}

Box webPageUnopened(const QString &page)
{
    return box(QStringLiteral("No web browser could open the page %1.").arg(page), QStringLiteral("Web Page"), Icon::Exclamation);
}

Box reminderNotOn(const QString &reason)
{
    return failure(QStringLiteral("The daily reminder could not be switched on, and stays off:"), reason);
}

Box reminderNotOff(const QString &reason)
{
    return failure(QStringLiteral("The daily reminder is off, but its timer could not be stopped cleanly:"), reason);
}

} // namespace messages
