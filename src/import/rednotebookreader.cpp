#include "readers.h"

#include "picturefile.h"
#include "rednotebookmarkup.h"

#include "diary/boundedfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <yaml-cpp/yaml.h>

#include <memory>
#include <variant>

namespace diaryimport {

namespace {

// A month file of years of daily writing stays far below this.
constexpr qint64 kLargestMonthFile = qint64(32) << 20;

// The first day of the month a file name YYYY-MM.txt names.
std::optional<QDate> monthOfFile(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{4})-(\d{2})\.txt$)"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate first(match.captured(1).toInt(), match.captured(2).toInt(), 1);
    return first.isValid() ? std::optional(first) : std::nullopt;
}

QString placed(const QString &name, const YAML::Mark &mark, const QString &what)
{
    if (mark.is_null())
        return QStringLiteral("%1: %2").arg(name, what);
    return QStringLiteral("%1: line %2, column %3: %4").arg(name).arg(mark.line + 1).arg(mark.column + 1).arg(what);
}

// RedNotebook writes absolute paths or file:// addresses; a relative one is
// taken from the month file's folder.
QString picturePath(const QString &address, const QDir &folder)
{
    if (address.startsWith(QLatin1StringView("file://")))
        return QUrl(address).toLocalFile();
    return folder.filePath(address);
}

// A day's categories are the members beside its text, each a map of the
// notes filed under it. The notes of "Tags" are tags themselves; any other
// category is one by its name.
QStringList categoryTags(const YAML::Node &content)
{
    QStringList tags;
    for (const auto &member : content) {
        const QString category = member.first.IsScalar() ? QString::fromStdString(member.first.Scalar()) : QString();
        if (category.isEmpty() || category == QLatin1StringView("text"))
            continue;
        if (category.compare(QLatin1StringView("Tags"), Qt::CaseInsensitive) != 0) {
            tags.append(category);
            continue;
        }
        if (!member.second.IsMap())
            continue;
        for (const auto &note : member.second) {
            if (note.first.IsScalar())
                tags.append(QString::fromStdString(note.first.Scalar()));
        }
    }
    return tags;
}

class MonthReader
{
public:
    MonthReader(const QString &path, QDate month) : m_path(path), m_name(QFileInfo(path).fileName()), m_month(month) {}

    // Why the file was refused, or nothing once its days are in `entries`.
    std::optional<QString> read(std::vector<Entry> &entries);

private:
    std::optional<QString> readDays(const YAML::Node &days, std::vector<Entry> &entries);
    std::optional<QString> readDay(const YAML::Node &key, const YAML::Node &content, std::vector<Entry> &entries);
    Entry dayEntry(QDate day, const QString &text, const QStringList &tags) const;

    QString m_path;
    QString m_name;
    QDate m_month;
};

std::optional<QString> MonthReader::read(std::vector<Entry> &entries)
{
    const boundedfile::Contents file = boundedfile::read(m_path, kLargestMonthFile);
    if (!file)
        return file.tooLarge ? tooLarge(m_name, kLargestMonthFile) : QStringLiteral("%1: %2").arg(m_name, file.problem);
    try {
        return readDays(YAML::Load(file.bytes.toStdString()), entries);
    } catch (const YAML::Exception &fault) {
        return placed(m_name, fault.mark, QString::fromStdString(fault.msg));
    }
}

std::optional<QString> MonthReader::readDays(const YAML::Node &days, std::vector<Entry> &entries)
{
    if (days.IsNull())
        return std::nullopt;
    if (!days.IsMap())
        return placed(m_name, days.Mark(), QStringLiteral("not a list of days"));
    for (const auto &day : days) {
        if (auto fault = readDay(day.first, day.second, entries))
            return fault;
    }
    return std::nullopt;
}

std::optional<QString> MonthReader::readDay(const YAML::Node &key, const YAML::Node &content, std::vector<Entry> &entries)
{
    int dayOfMonth = 0;
    const QDate day = key.IsScalar() && YAML::convert<int>::decode(key, dayOfMonth)
                          ? QDate(m_month.year(), m_month.month(), dayOfMonth)
                          : QDate();
    if (!day.isValid()) {
        return placed(m_name, key.Mark(),
                      QStringLiteral("'%1' is not a day of %2")
                          .arg(QString::fromStdString(key.IsScalar() ? key.Scalar() : std::string()),
                               m_month.toString(QStringLiteral("MMMM yyyy"))));
    }
    if (content.IsNull())
        return std::nullopt;
    if (!content.IsMap())
        return placed(m_name, content.Mark(), QStringLiteral("day %1 holds no text").arg(dayOfMonth));
    const YAML::Node text = content["text"];
    if (text && !text.IsNull() && !text.IsScalar())
        return placed(m_name, text.Mark(), QStringLiteral("the text of day %1 is not a text").arg(dayOfMonth));
    const QString written = text && text.IsScalar() ? QString::fromStdString(text.Scalar()) : QString();
    const QStringList tags = categoryTags(content);
    if (!written.trimmed().isEmpty() || !tags.isEmpty())
        entries.push_back(dayEntry(day, written, tags));
    return std::nullopt;
}

Entry MonthReader::dayEntry(QDate day, const QString &text, const QStringList &tags) const
{
    Entry entry;
    entry.day = day;
    entry.tags = tags;
    entry.markup = Entry::Markup::Html;
    const QDir folder = QFileInfo(m_path).dir();
    entry.text = rednotebookHtml(text, [&](const QString &address) {
        const auto bytes = readPictureFile(picturePath(address, folder));
        if (bytes)
            entry.pictures.insert(address, *bytes);
        return bytes.has_value();
    });
    return entry;
}

// The month files to read, oldest first, or why there are none.
std::variant<QStringList, QString> monthFiles(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        const QDir folder(path);
        QStringList files;
        for (const QString &name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            if (monthOfFile(name))
                files.append(folder.filePath(name));
        }
        if (files.isEmpty())
            return QStringLiteral("%1 holds no RedNotebook month files (YYYY-MM.txt)").arg(path);
        return files;
    }
    if (!info.exists())
        return QStringLiteral("%1: no such file or folder").arg(path);
    if (!monthOfFile(info.fileName()))
        return QStringLiteral("%1 is not a RedNotebook month file (YYYY-MM.txt)").arg(path);
    return QStringList{path};
}

// The entries of one month file at a time. Pages are built oldest first, so
// each month file is read again once, when the first of its days is built.
class Months
{
public:
    explicit Months(QStringList files) : m_files(std::move(files)) {}

    const QStringList &files() const { return m_files; }

    std::optional<QString> read(qsizetype file, std::vector<Entry> &entries) const
    {
        return MonthReader(m_files[file], *monthOfFile(QFileInfo(m_files[file]).fileName())).read(entries);
    }

    Entry entry(qsizetype file, std::size_t index)
    {
        if (file != m_read) {
            m_entries.clear();
            read(file, m_entries);
            m_read = file;
        }
        return index < m_entries.size() ? m_entries[index] : Entry();
    }

private:
    QStringList m_files;
    qsizetype m_read = -1;
    std::vector<Entry> m_entries;
};

} // namespace

Read readRedNotebook(const QString &path)
{
    const auto files = monthFiles(path);
    if (const auto *why = std::get_if<QString>(&files))
        return Read::refused(*why);
    const auto months = std::make_shared<Months>(std::get<QStringList>(files));
    Read read;
    for (qsizetype file = 0; file < months->files().size(); ++file) {
        std::vector<Entry> month;
        if (auto fault = months->read(file, month))
            return Read::refused(*fault);
        for (std::size_t index = 0; index < month.size(); ++index) {
            Entry kept;
            kept.day = month[index].day;
            kept.remake = [months, file, index] { return months->entry(file, index); };
            read.entries.push_back(std::move(kept));
        }
    }
    return read;
}

} // namespace diaryimport
