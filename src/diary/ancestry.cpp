#include "ancestry.h"

#include "boundedfile.h"
#include "storedbytes.h"

#include <QCryptographicHash>

#include <algorithm>
#include <deque>

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

// A common version older than another common one is no base: what the newer
// one holds besides would look like both sides' own change.
QStringList Lineage::nearestCommon(const QString &ours, const QString &theirs) const
{
    if (ours.isEmpty() || theirs.isEmpty())
        return {};
    const QHash<QString, qsizetype> fromTheirs = distances(theirs);
    QHash<QString, QHash<QString, qsizetype>> common;
    for (const QString &id : distances(ours).keys()) {
        if (fromTheirs.contains(id))
            common.insert(id, distances(id));
    }
    QStringList nearest;
    for (auto it = common.cbegin(); it != common.cend(); ++it) {
        const bool older = std::ranges::any_of(common.keys(), [&](const QString &other) {
            return other != it.key() && common.constFind(other)->contains(it.key()) && !it.value().contains(other);
        });
        if (!older)
            nearest << it.key();
    }
    nearest.sort();
    return nearest;
}

} // namespace ancestry
