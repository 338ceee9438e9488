#include "notestore.h"

#include <QStringConverter>

#include "codepage.h"
#include "keptfile.h"
#include "storedbytes.h"

#include <QFileInfo>
#include <QStringEncoder>

namespace notestore {

namespace {
constexpr QByteArrayView kLineEnd("\r\n");

// CR LF as the file's own encoding writes it: a note from another machine
// may be UTF-16, where it takes four bytes.
QByteArray lineEndIn(QByteArrayView bytes)
{
    const auto marked = QStringConverter::encodingForData(bytes);
    if (!marked)
        return kLineEnd.toByteArray();
    QStringEncoder encoder(*marked);
    return encoder.encode(u"\r\n");
}
} // namespace

std::optional<QByteArray> load(const DataRoot &root, daykeys::MonthDay monthDay, QString *ancestryId)
{
    return loadFile(root, root.notePath(monthDay), {}, ancestryId);
}

std::optional<QByteArray> loadFile(const DataRoot &root, const QString &noteFile, const QString &storedAs, QString *ancestryId)
{
    auto read = storedbytes::read(root, noteFile, kLargestNoteFile, storedAs, ancestryId);
    if (!read)
        return std::nullopt;
    QByteArray bytes = std::move(*read);
    const QByteArray lineEnd = lineEndIn(bytes);
    if (bytes.endsWith(lineEnd))
        bytes.chop(lineEnd.size());
    return bytes;
}

QByteArray encodeNote(QStringView text)
{
    // One pass: QString::replace moves the rest of the text for every
    // thousand matches, which grows with the square of a long note.
    QString lines;
    lines.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        const bool lineEnd = c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        lineEnd ? lines.append(u"\r\n") : lines.append(c);
    }
    // A character with no Windows-1252 code is stored as "?": the format is single-byte.
    QByteArray stored = codepage::encodeLossy(lines);
    // Such bytes that open as a byte-order mark ("ÿþ...", "ï»¿...") would read back as
    // another text: that one note is kept as UTF-8 behind a mark of its own.
    if (QStringConverter::encodingForData(stored))
        stored = QByteArray("\xEF\xBB\xBF") + lines.toUtf8();
    return stored.append(kLineEnd);
}

QString decodeNote(QByteArrayView bytes)
{
    return codepage::decodeText(bytes);
}

Outcome save(const DataRoot &root, daykeys::MonthDay monthDay, QStringView text, history::Unkept unkept)
{
    const QByteArray bytes = encodeNote(text);
    if (bytes.size() > kLargestNoteFile)
        return Outcome::failure(QStringLiteral("The note is too large to be stored."));
    return keptfile::save(root, root.notePath(monthDay), bytes, unkept);
}

bool exists(const DataRoot &root, daykeys::MonthDay monthDay)
{
    return QFileInfo(root.notePath(monthDay)).isFile();
}

Outcome remove(const DataRoot &root, daykeys::MonthDay monthDay, history::Unkept unkept)
{
    return keptfile::remove(root, root.notePath(monthDay), unkept);
}

} // namespace notestore
