#include "entryspans.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

namespace diaryimport::json {

namespace {

constexpr qint64 kChunk = qint64(64) << 10;
// The members beside the entries (jrnl's tags) and the keys are small; a
// larger one is left to the whole parse.
constexpr qsizetype kLargestOther = qsizetype(1) << 20;
constexpr int kEnd = -1;

// The device's bytes a chunk at a time, never more than `largest` of them.
class ByteStream
{
public:
    ByteStream(QIODevice &device, qint64 largest)
        : m_device(device)
        , m_largest(largest)
    {
    }

    int peek()
    {
        if (m_used == m_chunk.size() && !refill())
            return kEnd;
        return static_cast<unsigned char>(m_chunk[m_used]);
    }
    void next() { ++m_used; }
    qint64 at() const { return m_start + m_used; }
    bool tooLarge() const { return m_tooLarge; }

private:
    bool refill()
    {
        m_start += m_chunk.size();
        m_chunk = m_device.read(kChunk);
        m_used = 0;
        if (m_start + m_chunk.size() > m_largest) {
            m_tooLarge = true;
            m_chunk.truncate(qsizetype(std::max<qint64>(m_largest - m_start, 0)));
        }
        return !m_chunk.isEmpty();
    }

    QIODevice &m_device;
    qint64 m_largest;
    QByteArray m_chunk;
    qsizetype m_used = 0;
    qint64 m_start = 0;
    bool m_tooLarge = false;
};

class Scanner
{
public:
    explicit Scanner(ByteStream &bytes)
        : m_bytes(bytes)
    {
    }

    qint64 at() const { return m_bytes.at(); }

    bool take(char wanted)
    {
        skipSpace();
        if (m_bytes.peek() != static_cast<unsigned char>(wanted))
            return false;
        m_bytes.next();
        return true;
    }

    void skipSpace()
    {
        for (int c = m_bytes.peek(); c == ' ' || c == '\t' || c == '\r' || c == '\n'; c = m_bytes.peek())
            m_bytes.next();
    }

    bool atEnd()
    {
        skipSpace();
        return m_bytes.peek() == kEnd;
    }

    // A short string without escapes, as the keys looked for are.
    std::optional<QByteArray> plainString()
    {
        if (!take('"'))
            return std::nullopt;
        QByteArray text;
        for (int c = m_bytes.peek(); c != '"'; c = m_bytes.peek()) {
            if (c == kEnd || c == '\\' || text.size() > kLargestOther)
                return std::nullopt;
            text.append(char(c));
            m_bytes.next();
        }
        m_bytes.next();
        return text;
    }

    // Passes over one value, nested ones by their depth, keeping its bytes
    // in `kept` when asked; its inside is checked when it is parsed.
    bool skipValue(QByteArray *kept = nullptr)
    {
        skipSpace();
        const qint64 start = at();
        int depth = 0;
        for (int c = m_bytes.peek(); c != kEnd; c = m_bytes.peek()) {
            if (depth == 0 && (c == ',' || c == '}' || c == ']'))
                return at() > start;
            if (!keep(kept, c))
                return false;
            m_bytes.next();
            if (c == '"' && !skipString(kept))
                return false;
            depth += (c == '{' || c == '[') ? 1 : (c == '}' || c == ']') ? -1 : 0;
            if (depth == 0 && (c == '"' || c == '}' || c == ']'))
                return true;
        }
        return depth == 0 && at() > start;
    }

private:
    static bool keep(QByteArray *kept, int c)
    {
        if (kept)
            kept->append(char(c));
        return !kept || kept->size() <= kLargestOther;
    }

    bool skipString(QByteArray *kept)
    {
        bool escaped = false;
        for (int c = m_bytes.peek(); c != kEnd; c = m_bytes.peek()) {
            if (!keep(kept, c))
                return false;
            m_bytes.next();
            if (c == '"' && !escaped)
                return true;
            escaped = !escaped && c == '\\';
        }
        return false;
    }

    ByteStream &m_bytes;
};

// A keyed item starts at its key, so it is parsed as an object of one member.
bool items(Scanner &scanner, Shape shape, std::size_t most, Spans &spans)
{
    const char close = shape == Shape::List ? ']' : '}';
    if (scanner.take(close))
        return true;
    do {
        Span span;
        scanner.skipSpace();
        span.begin = scanner.at();
        if (shape == Shape::Keyed && (!scanner.plainString() || !scanner.take(':')))
            return false;
        if (!scanner.skipValue())
            return false;
        span.end = scanner.at();
        spans.tooMany = spans.items.size() == most;
        if (spans.tooMany)
            return false;
        spans.items.push_back(span);
    } while (scanner.take(','));
    return scanner.take(close);
}

bool isValue(const QByteArray &text)
{
    QJsonParseError error;
    QJsonDocument::fromJson('[' + text + ']', &error);
    return error.error == QJsonParseError::NoError;
}

bool scan(Scanner &scanner, Shape shape, std::size_t most, Spans &spans)
{
    if (!scanner.take('{') || scanner.take('}'))
        return false;
    do {
        const auto key = scanner.plainString();
        if (!key || !scanner.take(':'))
            return false;
        if (*key == "entries") {
            // A second list, or a value of another kind, is left to the whole parse.
            if (spans.found || !scanner.take(shape == Shape::List ? '[' : '{') || !items(scanner, shape, most, spans))
                return false;
            spans.found = true;
        } else if (QByteArray other; !scanner.skipValue(&other) || !isValue(other)) {
            return false;
        }
    } while (scanner.take(','));
    return scanner.take('}') && scanner.atEnd();
}

} // namespace

Spans entrySpans(QIODevice &device, Shape shape, qint64 largest, std::size_t most)
{
    ByteStream bytes(device, largest);
    Scanner scanner(bytes);
    Spans spans;
    if (!scan(scanner, shape, most, spans)) {
        spans.found = false;
        spans.items.clear();
        spans.stoppedAt = scanner.at();
    }
    spans.tooLarge = bytes.tooLarge();
    return spans;
}

} // namespace diaryimport::json
