#include "passwordpolicy.h"

#include <pwquality.h>
#include <sodium.h>

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>

#include <memory>

namespace passwordpolicy {

namespace {

using Settings = std::unique_ptr<pwquality_settings_t, decltype(&pwquality_free_settings)>;

// The machine's own rules (pwquality.conf; without one the library's
// defaults stand). The dictionary check asks the system's account database
// for the user's names and refuses every password when the user has no entry
// there (a container, a bare uid): then the checks that need no account stay.
Settings machineRules(const QStringList &badWords)
{
    Settings settings(pwquality_default_settings(), pwquality_free_settings);
    if (!settings)
        return settings;
    pwquality_read_config(settings.get(), nullptr, nullptr);
    if (::getpwuid(::getuid()) == nullptr)
        pwquality_set_int_value(settings.get(), PWQ_SETTING_DICT_CHECK, 0);
    const char *configured = nullptr;
    pwquality_get_str_value(settings.get(), PWQ_SETTING_BAD_WORDS, &configured);
    QStringList words = badWords;
    if (configured)
        words.prepend(QString::fromLocal8Bit(configured));
    pwquality_set_str_value(settings.get(), PWQ_SETTING_BAD_WORDS, words.join(u' ').toLocal8Bit().constData());
    return settings;
}

// libpwquality's verdict in its own words; nothing when it accepts the password.
std::optional<QString> weakness(pwquality_settings_t *settings, QStringView password, int *score = nullptr)
{
    QByteArray utf8 = password.toUtf8();
    void *detail = nullptr;
    const int verdict = pwquality_check(settings, utf8.constData(), nullptr, nullptr, &detail);
    sodium_memzero(utf8.data(), size_t(utf8.size()));
    if (score)
        *score = verdict;
    if (verdict >= 0)
        return std::nullopt;
    char words[PWQ_MAX_ERROR_MESSAGE_LEN];
    return QString::fromLocal8Bit(pwquality_strerror(words, sizeof words, verdict, detail));
}

// The letters of a password that is one word with digits or signs before or
// after it, read through the usual swaps inside it (P@ssw0rd is password);
// nothing when the password is more than that.
std::optional<QString> loneWord(QStringView password)
{
    static const QHash<QChar, QChar> swaps{{u'@', u'a'}, {u'4', u'a'}, {u'0', u'o'}, {u'1', u'i'}, {u'3', u'e'},
                                           {u'5', u's'}, {u'$', u's'}, {u'7', u't'}, {u'!', u'i'}};
    const QString lower = password.toString().toLower();
    const auto first = std::ranges::find_if(lower, [](QChar c) { return c.isLetter(); });
    const auto last = std::ranges::find_if(lower.crbegin(), lower.crend(), [](QChar c) { return c.isLetter(); }).base();
    if (first == lower.cend())
        return std::nullopt;
    QString word;
    for (auto c = first; c != last; ++c) {
        if (!c->isLetter() && !swaps.contains(*c))
            return std::nullopt;
        word += c->isLetter() ? *c : swaps.value(*c);
    }
    const auto around = [](QChar c) { return !c.isLetter() && !c.isSpace(); };
    if (!std::all_of(lower.cbegin(), first, around) || !std::all_of(last, lower.cend(), around))
        return std::nullopt;
    return word;
}

// A dictionary word, or a word too short to be any, with a year or a few signs
// glued to it is among the first guesses of every cracking list.
std::optional<QString> guessable(pwquality_settings_t *rules, QStringView password)
{
    const auto word = loneWord(password);
    if (!word || *word == password.toString().toLower())
        return std::nullopt;
    if (word->size() < 6)
        return QStringLiteral("it is a short word with digits or signs added");
    pwquality_set_int_value(rules, PWQ_SETTING_MIN_LENGTH, 6);
    int score = 0;
    weakness(rules, *word, &score);
    if (score == PWQ_ERROR_CRACKLIB_CHECK || score == PWQ_ERROR_BAD_WORDS)
        return QStringLiteral("it is a dictionary word with digits or signs added");
    return std::nullopt;
}

} // namespace

bool shorterThan(QStringView password, qsizetype shortest)
{
    return password.toString().toUcs4().size() < shortest;
}

std::optional<QString> refusal(QStringView password, bool reusesPlainPassword, const QString &diaryName)
{
    if (shorterThan(password, kShortest))
        return QStringLiteral("the password must have at least %1 characters").arg(kShortest);
    if (reusesPlainPassword)
        return QStringLiteral("this is the plain diary's password, which any old copy of its password file gives away; "
                              "choose another");
    QStringList badWords{QStringLiteral("quillnest")};
    for (const QString &word : diaryName.split(QRegularExpression(QStringLiteral("[^\\w]+")), Qt::SkipEmptyParts)) {
        if (word.size() >= 4)
            badWords.append(word);
    }
    const Settings rules = machineRules(badWords);
    if (!rules)
        return QStringLiteral("there is not enough memory to rate the password");
    auto why = weakness(rules.get(), password);
    if (!why)
        why = guessable(rules.get(), password);
    if (why)
        return QStringLiteral("the password is too weak: %1").arg(*why);
    return std::nullopt;
}

} // namespace passwordpolicy
