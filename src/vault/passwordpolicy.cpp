#include "passwordpolicy.h"

#include <pwquality.h>
#include <sodium.h>

#include <QList>

#include <memory>

namespace passwordpolicy {

namespace {

// libpwquality's verdict with the machine's own rules (pwquality.conf), in
// its own words; nothing when it accepts the password.
std::optional<QString> weakness(QStringView password)
{
    const std::unique_ptr<pwquality_settings_t, decltype(&pwquality_free_settings)> settings(pwquality_default_settings(),
                                                                                               pwquality_free_settings);
    if (!settings)
        return QStringLiteral("there is not enough memory to rate the password");
    // Without a configuration file the library's defaults stand.
    pwquality_read_config(settings.get(), nullptr, nullptr);
    QByteArray utf8 = password.toUtf8();
    void *detail = nullptr;
    const int score = pwquality_check(settings.get(), utf8.constData(), nullptr, nullptr, &detail);
    sodium_memzero(utf8.data(), size_t(utf8.size()));
    if (score >= 0)
        return std::nullopt;
    char words[PWQ_MAX_ERROR_MESSAGE_LEN];
    return QString::fromLocal8Bit(pwquality_strerror(words, sizeof words, score, detail));
}

} // namespace

bool shorterThan(QStringView password, qsizetype shortest)
{
    return password.toString().toUcs4().size() < shortest;
}

std::optional<QString> refusal(QStringView password, bool reusesPlainPassword)
{
    if (shorterThan(password, kShortest))
        return QStringLiteral("the password must have at least %1 characters").arg(kShortest);
    if (reusesPlainPassword)
        return QStringLiteral("this is the plain diary's password, which any old copy of its password file gives away; "
                              "choose another");
    if (const auto why = weakness(password))
        return QStringLiteral("the password is too weak: %1").arg(*why);
    return std::nullopt;
}

} // namespace passwordpolicy
