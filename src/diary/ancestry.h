#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Which versions of a page or note each version grew from, as the history
// records it: a version's file name carries the hash of its stored bytes and
// of the bytes that replaced it, so the sync tool carries the lineage with the
// history, across computers, and nothing of the text shows in a name (an
// encrypted diary's stored bytes are sealed). A merge's base is the nearest
// version both sides grew from, never a guess.
namespace ancestry {

// The stored bytes' id: the start of their SHA-256, in hex.
QString idOf(QByteArrayView stored);
// A stored file's id; empty when it cannot be read.
QString idOfFile(const QString &path);

struct Link
{
    QString version;
    QString successor;
    QString path; // where the version's bytes are kept
};

class Lineage
{
public:
    explicit Lineage(const QList<Link> &links);

    // The versions both ids grew from (either id itself included) that no
    // other such version grew from: more than one when two are equally near,
    // as after a merge made on both computers at once.
    QStringList nearestCommon(const QString &ours, const QString &theirs) const;
    // Where a version's bytes are kept; empty when nowhere.
    QString pathOf(const QString &id) const { return m_paths.value(id); }

private:
    QHash<QString, qsizetype> distances(const QString &from) const;

    QHash<QString, QStringList> m_parents;
    QHash<QString, QString> m_paths;
};

} // namespace ancestry
