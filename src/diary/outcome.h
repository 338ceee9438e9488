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
    // The change was refused only because the version it replaces could not
    // be kept; the user may still choose to go on without it.
    static Outcome versionNotKept(QString why) { return Outcome(std::move(why), true); }

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    QString error() const { return m_error.value_or(QString()); }
    bool versionNotKept() const { return m_versionNotKept; }

private:
    Outcome() = default;
    explicit Outcome(QString why, bool versionNotKept = false) : m_error(std::move(why)), m_versionNotKept(versionNotKept) {}
    std::optional<QString> m_error;
    bool m_versionNotKept = false;
};
