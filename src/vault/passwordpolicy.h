#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What a new password of an encrypted diary must be, for the window and the
// tool alike. A plain diary's own password keeps its older, looser rule.
namespace passwordpolicy {

inline constexpr qsizetype kShortest = 8;
// A plain diary's password, by its older rule.
inline constexpr qsizetype kShortestPlain = 4;

// Counted in characters, so a letter beyond U+FFFF counts once.
bool shorterThan(QStringView password, qsizetype shortest);

// Why the password is refused, as a clause the tool prints as it is and the
// window as a sentence; nothing when it is accepted. reusesPlainPassword: it
// is the plain diary's password, which any old copy of its pw.dat gives away.
// The program's name and the diary folder's (diaryName) are refused in any form.
std::optional<QString> refusal(QStringView password, bool reusesPlainPassword = false, const QString &diaryName = {});

} // namespace passwordpolicy
