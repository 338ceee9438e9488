#include "pagestore.h"

#include "keptfile.h"
#include "scramble.h"
#include "storedbytes.h"

#include <QFileInfo>

#include <algorithm>

namespace pagestore {

namespace {

constexpr QByteArrayView kLineEnd("\r\n");

// As this program writes a page: every byte above the shift but the CR LF that end its lines, the last included.
bool storedAsWritten(QByteArrayView stored)
{
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (static_cast<unsigned char>(stored[i]) >= kScrambleOffset)
            continue;
        if (!stored.sliced(i).startsWith(kLineEnd))
            return false;
        ++i;
    }
    return stored.endsWith(kLineEnd);
}

// Such a page decodes where it lies, every line keeping its length, so a page of megabytes is held once, not twice.
QByteArray decodeRead(QByteArray &&stored)
{
    if (!storedAsWritten(stored))
        return decodePage(stored);
    for (char &byte : stored) {
        if (static_cast<unsigned char>(byte) >= kScrambleOffset)
            byte = static_cast<char>(byte - kScrambleOffset);
    }
    return std::move(stored);
}

} // namespace

std::optional<QByteArray> encodePage(QByteArrayView rtf)
{
    // Stored as if followed by one more CR LF, without copying a page of megabytes to add it.
    QList<QByteArrayView> lines = splitLines(rtf);
    if (rtf.isEmpty() || rtf.endsWith('\r') || rtf.endsWith(kLineEnd))
        lines.append(QByteArrayView());
    QByteArray stored;
    stored.reserve(rtf.size() + rtf.size() / 64 + kLineEnd.size());
    for (const QByteArrayView line : lines) {
        if (!appendScrambled(stored, line))
            return std::nullopt;
        stored.append(kLineEnd);
    }
    return stored;
}

// Lines as splitLines() cuts them, each shifted straight into one buffer:
// a buffer grown line by line had cost a long page a fifth of its export.
QByteArray decodePage(QByteArrayView stored)
{
    // Only a lone CR makes a line longer than it was stored.
    QByteArray rtf(stored.size() + kLineEnd.size(), Qt::Uninitialized);
    char *next = rtf.data();
    for (qsizetype start = 0; start < stored.size();) {
        const qsizetype cr = stored.indexOf('\r', start);
        const qsizetype end = cr < 0 ? stored.size() : cr;
        const qsizetype used = next - rtf.constData();
        if (used + (end - start) + kLineEnd.size() > rtf.size()) {
            rtf.resize(std::max(used + (end - start) + kLineEnd.size(), rtf.size() * 2));
            next = rtf.data() + used;
        }
        next = unscrambleTo(next, stored.sliced(start, end - start));
        next = std::copy(kLineEnd.cbegin(), kLineEnd.cend(), next);
        start = end + 1;
        if (cr >= 0 && start < stored.size() && stored[start] == '\n')
            ++start;
    }
    rtf.truncate(next - rtf.constData());
    return rtf;
}

Outcome save(const DataRoot &root, QDate day, QByteArrayView rtf, history::Unkept unkept, QString *written)
{
    if (rtf.size() > kLargestPageText)
        return Outcome::failure(QStringLiteral("The page is too large to be stored."));
    const auto stored = encodePage(rtf);
    if (!stored)
        return Outcome::failure(QStringLiteral("The page holds a character that cannot be stored."));
    return keptfile::save(root, root.pagePath(day), *stored, unkept, written);
}

std::optional<QByteArray> loadFile(const DataRoot &root, const QString &pageFile, const QString &storedAs, QString *ancestryId)
{
    auto stored = storedbytes::read(root, pageFile, kLargestPageFile, storedAs, ancestryId);
    if (!stored)
        return std::nullopt;
    return decodeRead(std::move(*stored));
}

std::optional<QByteArray> load(const DataRoot &root, QDate day)
{
    return loadFile(root, root.pagePath(day));
}

bool exists(const DataRoot &root, QDate day)
{
    return QFileInfo(root.pagePath(day)).isFile();
}

Outcome remove(const DataRoot &root, QDate day, history::Unkept unkept)
{
    return keptfile::remove(root, root.pagePath(day), unkept);
}

} // namespace pagestore
