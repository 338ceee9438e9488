#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <optional>
#include <vector>

// Entries read from another diary's export, before they become pages.
namespace diaryimport {

struct Entry
{
    enum class Markup { Plain, Markdown, Html };

    QDate day;
    // The time of day the other diary kept, when it kept one.
    std::optional<QTime> time;
    QString title;
    Markup markup = Markup::Plain;
    QString text;
    // The tags the other diary kept beside the text, as it wrote them: the
    // page ends with them as #tags.
    QStringList tags;
    // The pictures the text shows, by the name it uses for them (a Markdown
    // image's address, an HTML image's src): the picture file's own bytes.
    QHash<QString, QByteArray> pictures;
    // Pictures read only when the entry's page is built, so an export's
    // photos are never all in memory at once: the bytes, or nothing with why
    // the picture was refused in `why`.
    using PictureFile = std::function<std::optional<QByteArray>(QString &why)>;
    QHash<QString, PictureFile> pictureFiles;
    // Set for an entry of an export read an entry at a time: only its day and
    // time are kept, and this makes it whole again when its page is built.
    std::function<Entry()> remake;
};

inline Entry wholeEntry(const Entry &entry)
{
    return entry.remake ? entry.remake() : entry;
}

// Every entry of one export, or why it was refused: then nothing of it is
// imported. The reason names the file and the place in it
// ("journal.json: line 3, column 7: ...").
struct Read
{
    std::vector<Entry> entries;
    std::optional<QString> error;

    static Read refused(QString why)
    {
        Read read;
        read.error = std::move(why);
        return read;
    }
};

} // namespace diaryimport
