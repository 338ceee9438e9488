#include "diaryfigures.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

// What one page's text holds: its tags, its words and its first line.
namespace diaryfigures {

namespace {

constexpr qsizetype kLongestFirstLine = 200;

bool isMark(char32_t c)
{
    const auto category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining || category == QChar::Mark_Enclosing;
}

bool isWordChar(char32_t c)
{
    return QChar::isLetterOrNumber(c) || isMark(c);
}

// The code point that ends just before at; 0 at the start.
char32_t codePointBefore(QStringView text, qsizetype at)
{
    if (at >= 2 && QChar::isLowSurrogate(text[at - 1].unicode()) && QChar::isHighSurrogate(text[at - 2].unicode()))
        return QChar::surrogateToUcs4(text[at - 2], text[at - 1]);
    return at >= 1 ? text[at - 1].unicode() : 0;
}

// The code point that starts at i, and in length its UTF-16 units.
char32_t codePointAt(QStringView text, qsizetype i, qsizetype *length)
{
    *length = 1;
    if (i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    }
    return text[i].unicode();
}

// Letters beyond the first plane count too, such as mathematical ones.
bool holdsLetterOrDigit(QStringView piece)
{
    for (qsizetype i = 0, length = 0; i < piece.size(); i += length) {
        if (QChar::isLetterOrNumber(codePointAt(piece, i, &length)))
            return true;
    }
    return false;
}

// Whether the "#" at hash lies in a web or mail address: its run of
// characters up to the next space holds a scheme or begins "www.".
bool inAddress(QStringView text, qsizetype hash)
{
    static const QRegularExpression address(QStringLiteral("://|(?:^|[^\\w.])www\\.|(?:^|\\W)mailto:"),
                                            QRegularExpression::CaseInsensitiveOption);
    qsizetype start = hash;
    while (start > 0 && !text[start - 1].isSpace())
        --start;
    return start < hash && address.match(text.sliced(start, hash - start)).hasMatch();
}

// The tag after the "#" at hash; empty when there is none.
QString tagAt(QStringView text, qsizetype hash)
{
    qsizetype end = hash + 1;
    bool letter = false;
    for (qsizetype length = 0; end < text.size(); end += length) {
        const char32_t c = codePointAt(text, end, &length);
        if (!isWordChar(c) && c != '-' && c != '_')
            break;
        letter = letter || QChar::isLetter(c);
    }
    // A dash or underscore at the end is the sentence's, as in "#garden-".
    while (end > hash + 1 && (text[end - 1] == QLatin1Char('-') || text[end - 1] == QLatin1Char('_')))
        --end;
    // A letter was met, so the tag has a first character.
    const bool startsWord = letter && text[hash + 1] != QLatin1Char('-') && text[hash + 1] != QLatin1Char('_');
    return startsWord ? text.sliced(hash + 1, end - hash - 1).toString() : QString();
}

// How an ASCII character takes part in a word as QTextBoundaryFinder's word
// boundaries take it: letters, digits and "_" join; ",", ";" and "." join
// digits, "'" letters or digits, when the same kind stands on both sides.
enum class Joins { No, Letter, Digit, Underscore, Digits, Both };

Joins joinsOf(char16_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return Joins::Letter;
    if (c >= '0' && c <= '9')
        return Joins::Digit;
    switch (c) {
    case '_': return Joins::Underscore;
    case ',':
    case ';':
    case '.': return Joins::Digits;
    case '\'': return Joins::Both;
    default: return Joins::No;
    }
}

bool inWord(Joins c)
{
    return c == Joins::Letter || c == Joins::Digit || c == Joins::Underscore;
}

// Whether the character between before and after joins them.
bool bridges(Joins between, Joins before, Joins after)
{
    const bool letters = before == Joins::Letter && after == Joins::Letter && between == Joins::Both;
    const bool digits = before == Joins::Digit && after == Joins::Digit && (between == Joins::Digits || between == Joins::Both);
    return letters || digits;
}

// The words QTextBoundaryFinder finds in ASCII text, counted without its
// tables, which take longer than reading and decoding the pages.
int asciiWords(QStringView text)
{
    const auto kind = [&](qsizetype i) { return i < text.size() ? joinsOf(text[i].unicode()) : Joins::No; };
    int count = 0;
    bool counted = false;
    Joins twoBack = Joins::No, back = Joins::No, c = kind(0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Joins next = kind(i + 1);
        // Whether this character is of the same piece as the one before it.
        const bool continues = (inWord(c) && inWord(back)) || bridges(c, back, next) || (inWord(c) && bridges(back, twoBack, c));
        counted = counted && continues;
        if (!counted && (c == Joins::Letter || c == Joins::Digit)) {
            ++count;
            counted = true;
        }
        twoBack = std::exchange(back, std::exchange(c, next));
    }
    return count;
}

} // namespace

QStringList tagsIn(const QString &text)
{
    QStringList tags;
    for (qsizetype hash = text.indexOf(QLatin1Char('#')); hash >= 0; hash = text.indexOf(QLatin1Char('#'), hash + 1)) {
        if (isWordChar(codePointBefore(text, hash)) || inAddress(text, hash))
            continue;
        const QString tag = tagAt(text, hash);
        if (!tag.isEmpty() && std::none_of(tags.cbegin(), tags.cend(), [&](const QString &kept) { return kept.compare(tag, Qt::CaseInsensitive) == 0; }))
            tags.append(tag);
    }
    return tags;
}

int wordsIn(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return asciiWords(text);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    int count = 0;
    qsizetype start = 0;
    for (qsizetype end; (end = words.toNextBoundary()) >= 0; start = end) {
        // Spaces and punctuation are pieces of their own; a word holds a letter or digit.
        if (holdsLetterOrDigit(QStringView(text).sliced(start, end - start)))
            ++count;
    }
    return count;
}

QString firstLineOf(const QString &text)
{
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QString line = text.sliced(start, end - start).trimmed();
        if (!line.isEmpty())
            return line.left(kLongestFirstLine);
        start = end + 1;
    }
    return {};
}

} // namespace diaryfigures
