#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What a new password of an encrypted diary must be, for the window and the
// tool alike. A plain diary's own password keeps its older, looser rule.
namespace passwordpolicy {

inline constexpr qsizetype kShortest = 8;

// Why the password is refused, as a clause the tool prints as it is and the
// window as a sentence; nothing when it is accepted. reusesPlainPassword: it
// is the plain diary's password, which any old copy of its pw.dat gives away.
std::optional<QString> refusal(QStringView password, bool reusesPlainPassword = false);

} // namespace passwordpolicy
