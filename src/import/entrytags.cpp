#include "entrytags.h"

#include <QRegularExpression>

#include <algorithm>

namespace diaryimport {

namespace {

bool isTagCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'-' || c == U'_';
}

// The text's own #tags, as the tag finder reads them: not after a word's
// character, so "a#b" and "x##y" hold none.
bool writesTag(const QString &text, const QString &tag)
{
    static const QString kTagCharacter = QStringLiteral("[\\p{L}\\p{N}\\p{M}_-]");
    const QRegularExpression written(QStringLiteral("(?<![\\p{L}\\p{N}\\p{M}_#-])#") + QRegularExpression::escape(tag)
                                         + QStringLiteral("(?!") + kTagCharacter + u')',
                                     QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return written.match(text).hasMatch();
}

} // namespace

QString tagOf(const QString &name)
{
    QString tag;
    bool spaced = false;
    bool lettered = false;
    for (const char32_t c : name.trimmed().toUcs4()) {
        spaced = spaced || QChar::isSpace(c);
        if (!isTagCharacter(c))
            continue;
        if (spaced && !tag.isEmpty())
            tag += u'-';
        spaced = false;
        lettered = lettered || QChar::isLetterOrNumber(c);
        tag += QString::fromUcs4(&c, 1);
    }
    return lettered ? tag : QString();
}

QString tagLine(const QStringList &names, const QString &text)
{
    QStringList tags;
    for (const QString &name : names) {
        const QString tag = tagOf(name);
        const auto sameTag = [&](const QString &kept) { return kept.compare(tag, Qt::CaseInsensitive) == 0; };
        if (!tag.isEmpty() && std::ranges::none_of(tags, sameTag) && !writesTag(text, tag))
            tags.append(tag);
    }
    return tags.isEmpty() ? QString() : QStringLiteral("#") + tags.join(QStringLiteral(" #"));
}

} // namespace diaryimport
