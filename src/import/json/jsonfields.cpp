#include "jsonfields.h"

#include <QRegularExpression>

namespace diaryimport::json {

Fields::Fields(const QJsonValue &value)
    : m_object(value.toObject())
{
    if (!value.isObject())
        fail(QStringLiteral("is not a JSON object"));
}

QJsonValue Fields::member(QLatin1StringView key, bool needed, QJsonValue::Type type, const char *typeName)
{
    const QJsonValue value = m_object.value(key);
    if (value.isUndefined() || value.isNull()) {
        if (needed)
            fail(QStringLiteral("has no \"%1\"").arg(key));
        return {};
    }
    if (value.type() != type) {
        fail(QStringLiteral("\"%1\" is not %2").arg(key, QLatin1StringView(typeName)));
        return {};
    }
    return value;
}

QString Fields::text(QLatin1StringView key)
{
    return member(key, false, QJsonValue::String, "text").toString();
}

QString Fields::neededText(QLatin1StringView key)
{
    return member(key, true, QJsonValue::String, "text").toString();
}

QJsonArray Fields::list(QLatin1StringView key)
{
    return member(key, false, QJsonValue::Array, "a list").toArray();
}

QJsonArray Fields::neededList(QLatin1StringView key)
{
    return member(key, true, QJsonValue::Array, "a list").toArray();
}

QStringList Fields::texts(QLatin1StringView key)
{
    QStringList texts;
    for (const QJsonValue item : list(key)) {
        if (item.isString())
            texts.append(item.toString());
    }
    return texts;
}

QJsonObject Fields::neededObject(QLatin1StringView key)
{
    return member(key, true, QJsonValue::Object, "a JSON object").toObject();
}

QDate Fields::day(QLatin1StringView key)
{
    const QString written = neededText(key);
    const QDate date = isoDay(written);
    if (!written.isEmpty() && !date.isValid())
        fail(QStringLiteral("\"%1\" is not a day written yyyy-mm-dd: \"%2\"").arg(key, written));
    return date;
}

std::optional<QTime> Fields::timeOfDay(QLatin1StringView key)
{
    const QString written = text(key);
    if (written.isEmpty())
        return std::nullopt;
    static const QRegularExpression form(QStringLiteral("^\\d\\d:\\d\\d(:\\d\\d)?$"));
    const QTime time = QTime::fromString(written, Qt::ISODate);
    if (!form.match(written).hasMatch() || !time.isValid()) {
        fail(QStringLiteral("\"%1\" is not a time written hh:mm: \"%2\"").arg(key, written));
        return std::nullopt;
    }
    return time;
}

void Fields::fail(const QString &fault)
{
    if (!m_fault)
        m_fault = fault;
}

std::optional<Entry> Fields::entryOrFault(Entry entry, QString &fault) const
{
    if (!m_fault)
        return entry;
    fault = *m_fault;
    return std::nullopt;
}

std::optional<Entry> Fields::titledEntry(Entry entry, QLatin1StringView textKey, Entry::Markup markup, QString &fault)
{
    entry.title = text(QLatin1StringView("title"));
    entry.text = text(textKey);
    entry.markup = markup;
    return entryOrFault(std::move(entry), fault);
}

QDate isoDay(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d$"));
    return form.match(text).hasMatch() ? QDate::fromString(text, Qt::ISODate) : QDate();
}

} // namespace diaryimport::json
