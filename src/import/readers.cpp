#include "readers.h"

#include <array>
#include <utility>

namespace diaryimport {

namespace {

constexpr std::array<std::pair<const char *, Source>, 5> kSourceNames{{
    {"jrnl", Source::Jrnl},
    {"dayone", Source::DayOne},
    {"minidiary", Source::MiniDiary},
    {"rednotebook", Source::RedNotebook},
    {"markdown", Source::Markdown},
}};

} // namespace

std::optional<Source> sourceNamed(const QString &name)
{
    for (const auto &[known, source] : kSourceNames) {
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return source;
    }
    return std::nullopt;
}

Read readDiary(Source source, const QString &path)
{
    switch (source) {
    case Source::Jrnl:
        return readJrnl(path);
    case Source::DayOne:
        return readDayOne(path);
    case Source::MiniDiary:
        return readMiniDiary(path);
    case Source::RedNotebook:
        return readRedNotebook(path);
    case Source::Markdown:
        return readMarkdown(path);
    }
    return Read::refused(QStringLiteral("unknown kind of diary"));
}

QString tooLarge(const QString &name, qint64 largest)
{
    return QStringLiteral("%1: larger than %2 MiB, more than an import takes").arg(name).arg(largest >> 20);
}

} // namespace diaryimport
