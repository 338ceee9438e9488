#pragma once

#include "diary/conversion.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class DayBook;
class SessionDrafts;
class SessionState;
class Vault;
class YearNotes;

// The diary's form and password: encrypting, decrypting, a new password,
// and locking an encrypted diary and unlocking it again.
class VaultControls : public QObject
{
    Q_OBJECT

public:
    VaultControls(SessionState &state, SessionDrafts &drafts, DayBook &book, YearNotes &notes);

    bool isEncrypted() const;
    // The key the sign-in opened, or none for a plain diary.
    void useVault(std::shared_ptr<Vault> vault);
    // File > Encrypt Diary... and Decrypt Diary...: each explains, asks for
    // the password, converts every file and tells how it went. `progress`
    // hears each file converted.
    void encryptDiary(const conversion::Progress &progress = {});
    void decryptDiary(const conversion::Progress &progress = {});
    // File > Change Password: a plain diary's question as ever; an encrypted
    // one asks the current password, then the new one twice, and reseals
    // every file under a new master key.
    void changePassword(const conversion::Progress &progress = {});
    // An encrypted diary locks: every draft is written, the page, the note and
    // the texts kept for searching are dropped, then the key is wiped.
    void lockDiary();
    // False for a wrong password; the diary stays locked. Otherwise the page
    // and the note are read back from their drafts or stored files.
    bool unlockDiary(const QString &password);
    bool isLocked() const;

signals:
    void encryptionChanged(bool encrypted);
    // Before the drafts are written for the lock: a window keeps what it must bring back.
    void aboutToLock();
    void lockChanged(bool locked);

private:
    // plainDiary: the diary being encrypted, whose own password is refused.
    std::optional<QString> askNewPassword(const QString &title, bool plainDiary);
    void tellSetAside(const QStringList &names);

    SessionState &m_state;
    SessionDrafts &m_drafts;
    DayBook &m_book;
    YearNotes &m_notes;
};
