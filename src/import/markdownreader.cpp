#include "readers.h"

#include "diaryimport.h"

#include "entrybody.h"
#include "picturefile.h"
#include "storabletext.h"

#include "diary/boundedfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <variant>

namespace diaryimport {

namespace {

// Its text goes on one page.
constexpr qint64 kLargestDayFile = kLargestDayText;

struct DayFile
{
    QDate day;
    QString title;
};

// "2024-03-05.md" or "2024-03-05 Trip.md": the day, then the title if any.
std::optional<DayFile> dayFile(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{4}-\d{2}-\d{2})(?:[\s_-]+(.*?))?\s*\.(?:md|markdown)$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate day = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return std::nullopt;
    return DayFile{day, match.captured(2)};
}

// Qt's own Markdown reader finds the pictures, so an address is read exactly
// as the page will read it.
QStringList pictureAddresses(const QString &markdown)
{
    QTextDocument document;
    sizeDefaultFont(document);
    setMarkdown(document, markdown);
    QStringList addresses;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                addresses.append(format.toImageFormat().name());
        }
    }
    addresses.removeDuplicates();
    return addresses;
}

// Only a picture inside the folder is taken: an address with a scheme, an
// absolute path or one that climbs out of the folder stays a text.
std::optional<QString> pathInFolder(const QString &address, const QDir &folder)
{
    const QUrl url(address);
    const QString path = url.path(QUrl::FullyDecoded);
    if (!url.scheme().isEmpty() || !url.isRelative() || path.isEmpty() || QDir::isAbsolutePath(path))
        return std::nullopt;
    const QString found = QFileInfo(folder.filePath(path)).canonicalFilePath();
    const QString inside = folder.canonicalPath() + QLatin1Char('/');
    if (found.isEmpty() || !found.startsWith(inside))
        return std::nullopt;
    return found;
}

QHash<QString, QByteArray> pictures(const QString &markdown, const QDir &folder)
{
    QHash<QString, QByteArray> found;
    for (const QString &address : pictureAddresses(markdown)) {
        const auto path = pathInFolder(address, folder);
        const auto bytes = path ? readPictureFile(*path) : std::nullopt;
        if (bytes)
            found.insert(address, *bytes);
    }
    return found;
}

// By the name without its extension, so a day's untitled file comes before
// its titled ones.
QStringList dayFileNames(const QDir &folder)
{
    QStringList names = folder.entryList(QDir::Files, QDir::Name);
    std::ranges::stable_sort(names, {}, [](const QString &name) { return QFileInfo(name).completeBaseName(); });
    return names;
}

// The day file's entry, or why it cannot be read.
std::variant<Entry, QString> readEntry(const QDir &folder, const QString &name, const DayFile &named)
{
    const boundedfile::Contents file = boundedfile::read(folder.filePath(name), kLargestDayFile);
    if (!file)
        return QStringLiteral("%1: %2").arg(name, file.problem);
    Entry entry;
    entry.day = named.day;
    entry.title = named.title;
    entry.markup = Entry::Markup::Markdown;
    entry.text = QString::fromUtf8(file.bytes);
    if (entry.text.startsWith(QChar(0xfeff)))
        entry.text.remove(0, 1);
    entry.pictures = pictures(entry.text, folder);
    return entry;
}

} // namespace

// Only the day is kept until the day's page is built, when the file is read
// again, so the folder's text is never in memory all at once.
Read readMarkdown(const QString &path)
{
    const QDir folder(path);
    if (!QFileInfo(path).isDir())
        return Read::refused(QStringLiteral("%1 is not a folder").arg(path));
    Read read;
    for (const QString &name : dayFileNames(folder)) {
        const auto named = dayFile(name);
        if (!named)
            continue;
        if (const auto opened = boundedfile::open(folder.filePath(name), kLargestDayFile); !opened)
            return Read::refused(opened.tooLarge ? tooLarge(name, kLargestDayFile) : QStringLiteral("%1: %2").arg(name, opened.problem));
        Entry entry;
        entry.day = named->day;
        entry.remake = [folder, name, named = *named] {
            auto made = readEntry(folder, name, named);
            if (auto *entry = std::get_if<Entry>(&made))
                return std::move(*entry);
            Entry unread;
            unread.day = named.day;
            return unread;
        };
        read.entries.push_back(std::move(entry));
    }
    if (read.entries.empty())
        return Read::refused(QStringLiteral("%1 holds no Markdown files named by their day (yyyy-mm-dd.md)").arg(path));
    return read;
}

} // namespace diaryimport
