#include "ancestry.h"

#include "boundedfile.h"
#include "storedbytes.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <deque>

namespace ancestry {

namespace {

// 64 bits: ids are told apart among one page's versions, not against an attacker, who could rewrite the page itself.
constexpr qsizetype kIdBytes = 8;

// libsodium's SHA-256 hashes a large page in about 60 % of the time Qt's takes; the digest is the same.
void add(crypto_hash_sha256_state &state, QByteArrayView bytes)
{
    crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char *>(bytes.data()), static_cast<unsigned long long>(bytes.size()));
}

QString idOfHashed(crypto_hash_sha256_state &state)
{
    std::array<unsigned char, crypto_hash_sha256_BYTES> digest{};
    crypto_hash_sha256_final(&state, digest.data());
    return QString::fromLatin1(QByteArrayView(digest.data(), kIdBytes).toByteArray().toHex());
}

} // namespace

QString idOf(QByteArrayView stored)
{
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    add(state, stored);
    return idOfHashed(state);
}

// Hashed as it is read, so a large page costs no second copy in memory.
QString idOfFile(const QString &path)
{
    const boundedfile::Opened opened = boundedfile::open(path, storedbytes::kLargestFile);
    if (!opened)
        return {};
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    QByteArray chunk(qsizetype(64) << 10, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = opened.file->read(chunk.data(), chunk.size())) > 0)
        add(state, QByteArrayView(chunk).first(read));
    return read < 0 ? QString() : idOfHashed(state);
}

Lineage::Lineage(QList<Link> links)
{
    std::ranges::stable_sort(links, {}, &Link::stamp);
    for (const Link &link : links) {
        if (link.version.isEmpty())
            continue;
        m_paths.insert(link.version, link.path);
        QList<qsizetype> replaced = current(link.version, link.stamp);
        if (replaced.isEmpty())
            replaced << made(link.version, {}, QString());
        for (const qsizetype node : replaced)
            m_nodes[node].replaced = link.stamp;
        if (!link.successor.isEmpty() && link.successor != link.version)
            made(link.successor, replaced, link.stamp);
    }
}

// The versions of an id made before a time and not replaced since; when each
// was replaced, as when both computers replaced the version they shared, the
// one made last.
QList<qsizetype> Lineage::current(const QString &id, const QString &before) const
{
    QList<qsizetype> standing;
    qsizetype last = -1;
    for (const qsizetype node : m_byId.value(id)) {
        const Node &version = m_nodes.at(node);
        if (!before.isEmpty() && version.made >= before)
            continue;
        if (version.replaced <= version.made)
            standing << node;
        if (last < 0 || version.made > m_nodes.at(last).made)
            last = node;
    }
    if (standing.isEmpty() && last >= 0)
        standing << last;
    return standing;
}

// The same text made from the same versions is one version, whichever
// computer made it.
qsizetype Lineage::made(const QString &id, const QList<qsizetype> &parents, const QString &stamp)
{
    QList<qsizetype> &sameId = m_byId[id];
    const auto same = std::ranges::find_if(sameId, [&](qsizetype node) { return m_nodes.at(node).parents == parents; });
    if (same != sameId.end()) {
        m_nodes[*same].made = stamp;
        return *same;
    }
    m_nodes.append({id, parents, stamp, {}});
    sameId << m_nodes.size() - 1;
    return m_nodes.size() - 1;
}

QSet<qsizetype> Lineage::ancestors(const QList<qsizetype> &from) const
{
    QSet<qsizetype> reached(from.cbegin(), from.cend());
    std::deque<qsizetype> next(from.cbegin(), from.cend());
    while (!next.empty()) {
        for (const qsizetype parent : m_nodes.at(next.front()).parents) {
            if (!reached.contains(parent)) {
                reached.insert(parent);
                next.push_back(parent);
            }
        }
        next.pop_front();
    }
    return reached;
}

// A common version older than another common one is no base: what the newer
// one holds besides would look like both sides' own change.
QStringList Lineage::nearestCommon(const QString &ours, const QString &theirs) const
{
    if (ours.isEmpty() || theirs.isEmpty())
        return {};
    const QSet<qsizetype> fromTheirs = ancestors(current(theirs, {}));
    QHash<qsizetype, QSet<qsizetype>> common;
    for (const qsizetype node : ancestors(current(ours, {}))) {
        if (fromTheirs.contains(node))
            common.insert(node, ancestors({node}));
    }
    QStringList nearest;
    for (auto it = common.cbegin(); it != common.cend(); ++it) {
        const bool older = std::ranges::any_of(common.keys(), [&](qsizetype other) {
            return other != it.key() && common.constFind(other)->contains(it.key());
        });
        if (!older)
            nearest << m_nodes.at(it.key()).id;
    }
    nearest.removeDuplicates();
    nearest.sort();
    return nearest;
}

} // namespace ancestry
