#include "ancestry.h"

#include "boundedfile.h"
#include "storedbytes.h"

#include <QCryptographicHash>

#include <deque>
#include <limits>

namespace ancestry {

namespace {

// 64 bits: ids are told apart among one page's versions, not against an attacker, who could rewrite the page itself.
constexpr qsizetype kIdBytes = 8;

} // namespace

QString idOf(QByteArrayView stored)
{
    return QString::fromLatin1(QCryptographicHash::hash(stored, QCryptographicHash::Sha256).first(kIdBytes).toHex());
}

// Hashed as it is read, so a large page costs no second copy in memory.
QString idOfFile(const QString &path)
{
    const boundedfile::Opened opened = boundedfile::open(path, storedbytes::kLargestFile);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!opened || !hash.addData(opened.file.get()))
        return {};
    return QString::fromLatin1(hash.result().first(kIdBytes).toHex());
}

Lineage::Lineage(const QList<Link> &links)
{
    for (const Link &link : links) {
        if (link.version.isEmpty())
            continue;
        m_paths.insert(link.version, link.path);
        if (!link.successor.isEmpty() && link.successor != link.version && !m_parents[link.successor].contains(link.version))
            m_parents[link.successor].append(link.version);
    }
}

// Steps back from one id to each version it grew from; a restored version
// can make a loop, which a breadth-first walk takes once.
QHash<QString, qsizetype> Lineage::distances(const QString &from) const
{
    QHash<QString, qsizetype> reached{{from, 0}};
    std::deque<QString> next{from};
    while (!next.empty()) {
        const QString id = next.front();
        next.pop_front();
        for (const QString &parent : m_parents.value(id)) {
            if (!reached.contains(parent)) {
                reached.insert(parent, reached.value(id) + 1);
                next.push_back(parent);
            }
        }
    }
    return reached;
}

QStringList Lineage::nearestCommon(const QString &ours, const QString &theirs) const
{
    if (ours.isEmpty() || theirs.isEmpty())
        return {};
    const QHash<QString, qsizetype> fromOurs = distances(ours);
    const QHash<QString, qsizetype> fromTheirs = distances(theirs);
    QStringList nearest;
    qsizetype best = std::numeric_limits<qsizetype>::max();
    for (auto it = fromOurs.cbegin(); it != fromOurs.cend(); ++it) {
        const auto other = fromTheirs.constFind(it.key());
        if (other == fromTheirs.cend())
            continue;
        const qsizetype steps = it.value() + other.value();
        if (steps < best)
            nearest.clear();
        if (steps <= best) {
            best = steps;
            nearest << it.key();
        }
    }
    nearest.sort();
    return nearest;
}

} // namespace ancestry
