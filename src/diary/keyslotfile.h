#pragma once

#include "vault/keyslot.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// An encrypted diary's pw.dat with its two copies of the key slot: read copy
// by copy, opened by whichever copy the password opens, and mended from that
// copy when the other is damaged.
class KeySlotFile
{
public:
    explicit KeySlotFile(QString path);

    // Either copy is a key slot, so damage to the first line alone cannot
    // make an encrypted diary look plain.
    bool isEncrypted() const;
    // Some copy is a slot a password can be tried on.
    bool isReadable() const { return !m_slots.empty(); }
    // A password that opens no copy may be right when the copies differ:
    // then the file, not the password, may be what is wrong.
    bool copiesDiffer() const;

    struct Opened
    {
        SecretBytes key;
        KeySlot slot;
    };
    std::optional<Opened> open(const SecretBytes &password) const;

    enum class Mend { Whole, Mended, Failed };
    // Rewrites pw.dat as two copies of the slot that opened unless it holds
    // them already. Mended or Failed only when a copy was damaged, which the
    // user is told; a file from before the second copy gains it silently.
    Mend mend(const KeySlot &opened) const;

private:
    QString m_path;
    QByteArray m_bytes;
    qint64 m_size = 0;
    QList<QByteArray> m_copies;
    std::vector<KeySlot> m_slots;
};
