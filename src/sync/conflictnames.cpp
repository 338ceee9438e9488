#include "conflictnames.h"

#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace conflictnames {

namespace {

// Each pattern captures, by name, the file's stem and extension and what the
// tool tells: source, date and time.
struct Pattern
{
    Tool tool;
    const char *expression;
    const char *dateFormat;
};

// Syncthing adds the short id of the device whose version won and kept the
// file's own name (older versions add none); ownCloud's older clients wrote
// "_conflict-".
constexpr std::array kPatterns{
    Pattern{Tool::Syncthing,
            R"(^(?<stem>.+)\.sync-conflict-(?<date>\d{8})-(?<time>\d{6})(?:-(?<source>[A-Z2-7]{7}))?(?<ext>\.[^.]*)?$)",
            "yyyyMMdd"},
    Pattern{Tool::Nextcloud,
            R"(^(?<stem>.+) \(conflicted copy (?:(?<source>.+) )?(?<date>\d{4}-\d{2}-\d{2}) (?<time>\d{6})\)(?<ext>\.[^.]*)?$)",
            "yyyy-MM-dd"},
    Pattern{Tool::Nextcloud, R"(^(?<stem>.+)_conflict-(?<date>\d{8})-(?<time>\d{6})(?<ext>\.[^.]*)?$)", "yyyyMMdd"},
    Pattern{Tool::Dropbox,
            R"(^(?<stem>.+) \((?<source>.+)['’]s conflicted copy (?<date>\d{4}-\d{2}-\d{2})(?: \(\d+\))?\)(?<ext>\.[^.]*)?$)",
            "yyyy-MM-dd"},
};

const QRegularExpression &compiled(std::size_t index)
{
    static const auto expressions = [] {
        std::array<QRegularExpression, kPatterns.size()> made;
        for (std::size_t i = 0; i < kPatterns.size(); ++i)
            made[i] = QRegularExpression(QString::fromUtf8(kPatterns[i].expression));
        return made;
    }();
    return expressions[index];
}

std::optional<Copy> read(const Pattern &pattern, const QRegularExpressionMatch &match)
{
    Copy copy{match.captured(u"stem") + match.captured(u"ext"), pattern.tool, match.captured(u"source"),
              QDate::fromString(match.captured(u"date"), QString::fromLatin1(pattern.dateFormat)), std::nullopt};
    if (!copy.date.isValid())
        return std::nullopt;
    if (match.hasCaptured(u"time")) {
        copy.time = QTime::fromString(match.captured(u"time"), QStringLiteral("HHmmss"));
        if (!copy.time->isValid())
            return std::nullopt;
    }
    return copy;
}

} // namespace

std::optional<Copy> recognise(QStringView name)
{
    // Every tool's name says "conflict": a page list of thousands of days is passed over without a match each.
    if (!name.contains(u"conflict"))
        return std::nullopt;
    for (std::size_t i = 0; i < kPatterns.size(); ++i) {
        const QRegularExpressionMatch match = compiled(i).match(name.toString());
        if (match.hasMatch())
            return read(kPatterns[i], match);
    }
    return std::nullopt;
}

QString toolName(Tool tool)
{
    switch (tool) {
    case Tool::Syncthing:
        return QStringLiteral("Syncthing");
    case Tool::Nextcloud:
        return QStringLiteral("Nextcloud");
    case Tool::Dropbox:
        return QStringLiteral("Dropbox");
    }
    return {};
}

// Syncthing's device is left out: it names the computer whose version is not the copy's.
QString describe(const Copy &copy)
{
    QStringList parts{toolName(copy.tool)};
    if (!copy.source.isEmpty() && copy.tool != Tool::Syncthing)
        parts << copy.source;
    parts << copy.date.toString(Qt::ISODate) + (copy.time ? copy.time->toString(QStringLiteral(" HH:mm:ss")) : QString());
    return parts.join(QStringLiteral(", "));
}

} // namespace conflictnames
