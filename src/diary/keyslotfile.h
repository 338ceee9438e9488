#pragma once

#include "vault/keyslot.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// An encrypted diary's pw.dat with its two copies of the key slot: read copy
// by copy, opened by the copy the password opens, and mended from that copy
// when the other is damaged.
class KeySlotFile
{
public:
    explicit KeySlotFile(QString path);

    // Either copy is a key slot, so damage to the first line alone cannot
    // make an encrypted diary look plain.
    bool isEncrypted() const;
    // Some copy is a slot a password can be tried on.
    bool isReadable() const;
    // A password that opens no copy may be right when the copies differ:
    // then the file, not the password, may be what is wrong.
    bool copiesDiffer() const;

    struct Opened
    {
        SecretBytes key;
        KeySlot slot;
    };
    // The first copy is tried, and the second wherever it shares the first's
    // salt and limits, on one key derivation. The second costs one of its own
    // only when the first cannot be read, or holds the same sealed key under
    // another salt or limits, which is how a flipped bit there looks: an old
    // password's slot, or a hostile one at the ceiling, beside the first is
    // never derived.
    std::optional<Opened> open(const SecretBytes &password) const;

    enum class Mend { None, Mended, Failed };
    struct SignedIn
    {
        Opened opened;
        // Mended or Failed only when a copy was damaged, which the user is
        // told; a file from before the second copy gains it silently.
        Mend mend;
    };
    // The key the password opens, once it opens a sealed file of the diary
    // that holds pw.dat; nothing otherwise, and pw.dat is left as it is. The
    // other copy is replaced when it cannot be read, or when it is some other
    // slot and the key proved itself: a diary with no sealed file yet has
    // nothing to prove it against.
    std::optional<SignedIn> signIn(const SecretBytes &password) const;

private:
    Mend mend(const KeySlot &opened, bool proven) const;

    QString m_path;
    QByteArray m_bytes;
    qint64 m_size = 0;
    QList<QByteArray> m_copies;
    // One for each copy, nothing where it cannot be read.
    std::vector<std::optional<KeySlot>> m_slots;
};
