#pragma once

#include <QString>
#include <optional>
#include <utility>

// What a storage call tells its caller: success, or the reason it failed.
// The window decides which of the program's messages to show for a failure.
class Outcome
{
public:
    static Outcome success() { return Outcome(); }
    static Outcome failure(QString why) { return Outcome(std::move(why)); }

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    QString error() const { return m_error.value_or(QString()); }

private:
    Outcome() = default;
    explicit Outcome(QString why) : m_error(std::move(why)) {}
    std::optional<QString> m_error;
};
