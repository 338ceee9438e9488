#include "entryspans.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <string_view>

namespace diaryimport::json {

namespace {

class Scanner
{
public:
    explicit Scanner(const QByteArray &bytes)
        : m_text(bytes.constData(), std::size_t(bytes.size()))
    {
    }

    qsizetype at() const { return qsizetype(m_at); }

    bool take(char wanted)
    {
        skipSpace();
        if (m_at >= m_text.size() || m_text[m_at] != wanted)
            return false;
        ++m_at;
        return true;
    }

    bool atEnd()
    {
        skipSpace();
        return m_at == m_text.size();
    }

    // A string without escapes, as they are in the keys looked for.
    std::optional<std::string_view> plainString()
    {
        if (!take('"'))
            return std::nullopt;
        const std::size_t end = m_text.find('"', m_at);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view text = m_text.substr(m_at, end - m_at);
        m_at = end + 1;
        return text.find('\\') == std::string_view::npos ? std::optional(text) : std::nullopt;
    }

    // Passes over one value, nested ones by their depth; its inside is
    // checked when it is parsed.
    bool skipValue()
    {
        skipSpace();
        const std::size_t start = m_at;
        int depth = 0;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '"') {
                if (!skipString())
                    return false;
            } else if (c == '{' || c == '[') {
                ++depth;
                ++m_at;
            } else if (c == '}' || c == ']') {
                if (depth == 0)
                    return m_at > start;
                --depth;
                ++m_at;
            } else if (c == ',' && depth == 0) {
                return m_at > start;
            } else {
                ++m_at;
            }
            if (depth == 0 && (c == '"' || c == '}' || c == ']'))
                return true;
        }
        return depth == 0 && m_at > start;
    }

private:
    bool skipString()
    {
        for (++m_at; m_at < m_text.size(); ++m_at) {
            if (m_text[m_at] == '\\')
                ++m_at;
            else if (m_text[m_at] == '"') {
                ++m_at;
                return true;
            }
        }
        return false;
    }

    void skipSpace()
    {
        while (m_at < m_text.size() && std::string_view(" \t\r\n").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

std::optional<std::vector<Span>> listItems(Scanner &scanner)
{
    std::vector<Span> items;
    if (scanner.take(']'))
        return items;
    do {
        Span span;
        span.begin = scanner.at();
        if (!scanner.skipValue())
            return std::nullopt;
        span.end = scanner.at();
        items.push_back(span);
    } while (scanner.take(','));
    return scanner.take(']') ? std::optional(std::move(items)) : std::nullopt;
}

// A member other than the list is small (jrnl's tags), so Qt checks it whole.
bool isValue(const QByteArray &bytes, qsizetype begin, qsizetype end)
{
    QJsonParseError error;
    QJsonDocument::fromJson('[' + bytes.mid(begin, end - begin) + ']', &error);
    return error.error == QJsonParseError::NoError;
}

} // namespace

std::optional<std::vector<Span>> entrySpans(const QByteArray &bytes)
{
    Scanner scanner(bytes);
    std::optional<std::vector<Span>> entries;
    if (!scanner.take('{') || scanner.take('}'))
        return std::nullopt;
    do {
        const auto key = scanner.plainString();
        if (!key || !scanner.take(':'))
            return std::nullopt;
        if (*key == "entries") {
            // A second list, or a value that is no list, is left to the whole parse.
            if (entries || !scanner.take('['))
                return std::nullopt;
            entries = listItems(scanner);
            if (!entries)
                return std::nullopt;
        } else {
            const qsizetype begin = scanner.at();
            if (!scanner.skipValue() || !isValue(bytes, begin, scanner.at()))
                return std::nullopt;
        }
    } while (scanner.take(','));
    if (!scanner.take('}') || !scanner.atEnd())
        return std::nullopt;
    return entries;
}

} // namespace diaryimport::json
