#pragma once

#include "import/entry.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace diaryimport::json {

// The members of one JSON object, read by type. The first member that is
// missing when it is needed, or of the wrong type, is kept as the fault, so
// a reader reads every member and checks once. A null member counts as
// missing.
class Fields
{
public:
    explicit Fields(const QJsonValue &value);

    // The member's text; empty when it is missing.
    QString text(QLatin1StringView key);
    // The member's text, a fault when it is missing.
    QString neededText(QLatin1StringView key);
    // The member's list; empty when it is missing.
    QJsonArray list(QLatin1StringView key);
    // The member's list, a fault when it is missing.
    QJsonArray neededList(QLatin1StringView key);
    // The texts among the member's list, others left out: a tag is no reason
    // to refuse an export. Empty when it is missing.
    QStringList texts(QLatin1StringView key);
    QJsonObject neededObject(QLatin1StringView key);
    // The member's day, written yyyy-mm-dd; a fault when it is missing.
    QDate day(QLatin1StringView key);
    // The member's time of day, written hh:mm or hh:mm:ss; none when it is
    // missing.
    std::optional<QTime> timeOfDay(QLatin1StringView key);

    void fail(const QString &fault);
    // The entry made of the members, or nothing with the fault in `fault`.
    std::optional<Entry> entryOrFault(Entry entry, QString &fault) const;
    // The same, its title the member "title" and its text in `markup` the member textKey.
    std::optional<Entry> titledEntry(Entry entry, QLatin1StringView textKey, Entry::Markup markup, QString &fault);
    const std::optional<QString> &fault() const { return m_fault; }

private:
    QJsonValue member(QLatin1StringView key, bool needed, QJsonValue::Type type, const char *typeName);

    QJsonObject m_object;
    std::optional<QString> m_fault;
};

// A day written yyyy-mm-dd; an invalid date for anything else.
QDate isoDay(const QString &text);

} // namespace diaryimport::json
