#pragma once

#include "diary/dataroot.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <shared_mutex>

namespace textsearch {

// A word looked for, also in one byte a character when each has a Latin-1 code.
struct Word
{
    explicit Word(const QString &word);
    QString text;
    std::optional<QByteArray> latin1;
};

// A page's text in one byte a character when every character has a Latin-1
// code, as nearly every page's does, else as it is: the same matches in half
// the memory.
class CompactText
{
public:
    CompactText() = default;
    explicit CompactText(const QString &text);

    bool contains(const Word &word) const;
    QString toString() const;
    // As QString::toCaseFolded() would fold it; sharing this one's bytes when
    // nothing folds.
    CompactText folded() const;
    // Bytes held, counting none that other shares.
    qsizetype bytesBeyond(const CompactText &other) const;
    // Overwritten and emptied, where no other copy shares the text.
    void wipe();

private:
    QByteArray m_latin1;
    QString m_wide;
};

// The text each page shows, kept in memory between text searches (never on
// disk: an encrypted diary's pages stay sealed there). The session forgets a
// page when it is saved, deleted or restored; as a second guard each text is
// kept with its file's identity, size and times, and a file that differs from
// them is read again. The searches' threads fill it at once.
class TextCache
{
public:
    // What a file was when its text was read: a save replaces the file, so it
    // gets a new inode; a change of rights or times changes ctime.
    struct Stamp
    {
        qulonglong inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const Stamp &other) const = default;
    };
    // What the diary's figures count of a page's shown text.
    struct Figures
    {
        int words = 0;
        QString firstLine;
        QStringList tags;
    };
    struct Texts
    {
        Stamp stamp;
        CompactText shown;
        // Made by the first search that ignores case.
        std::optional<CompactText> folded;
        // Counted the first time the figures or a tag search want them.
        std::optional<Figures> figures;
    };

    void forget(const QString &name);
    // Every text overwritten as it goes: a locked diary's words must not stay in freed memory.
    void clear();

    // The texts kept for name, when they were read from a file with this stamp.
    std::optional<Texts> find(const QString &name, const Stamp &stamp) const;
    void keep(const QString &name, const Texts &texts);

    // The pages folder as it was when a pass found every kept page's file
    // unchanged. While the folder keeps that stamp no file in it was added,
    // removed or replaced (a save, a sync tool and the program's own
    // conversions all rename a file into place), so the figures may take a
    // kept page without a look at its file. A forgotten page (the program's
    // own save) takes the folder's new stamp with it; clear() drops it.
    void confirmFolder(const QString &folder, const Stamp &stamp);
    bool folderConfirmed(const QString &folder, const Stamp &stamp) const;
    // The texts kept for name, whatever its file's stamp.
    std::optional<Texts> kept(const QString &name) const;
    // Bytes the kept texts and names take, for measuring.
    qsizetype bytes() const;

private:
    mutable std::shared_mutex m_mutex;
    QHash<QString, Texts> m_pages;
    QString m_confirmedFolder;
    std::optional<Stamp> m_folderStamp;
};

// The stamp of the file at path, or nothing when it cannot be looked at.
std::optional<TextCache::Stamp> stampOf(const QString &path);

// What complete adds to a page's texts that lack it; true when it added anything.
using Completion = std::function<bool(TextCache::Texts &)>;

// The texts of page name: from the cache while the file is the one they were
// read from, else read; complete then adds what its caller needs, and what
// was read or added is kept. Nothing when the page cannot be read.
std::optional<TextCache::Texts> pageTexts(const DataRoot &root, const QString &name, TextCache *cache,
                                          const Completion &complete);

} // namespace textsearch
