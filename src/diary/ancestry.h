#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
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
    QString path;  // where the version's bytes are kept
    QString stamp; // when it was replaced, in an order that sorts as text
};

// A text saved again after it was replaced (a paragraph added, then taken
// out) has its old id but not its old place in the lineage: each time an id
// is made anew from another version is a version of its own, and a
// replacement is of the one last made before it.
class Lineage
{
public:
    explicit Lineage(QList<Link> links);

    // The versions both ids grew from (either id itself included) that no
    // other such version grew from: more than one when two are equally near,
    // as after a merge made on both computers at once.
    QStringList nearestCommon(const QString &ours, const QString &theirs) const;
    // Where a version's bytes are kept; empty when nowhere.
    QString pathOf(const QString &id) const { return m_paths.value(id); }

private:
    struct Node
    {
        QString id;
        QList<qsizetype> parents;
        QString made;     // empty for the first, whose making is not kept
        QString replaced; // the last replacement's stamp
    };

    QList<qsizetype> current(const QString &id, const QString &before) const;
    qsizetype made(const QString &id, const QList<qsizetype> &parents, const QString &stamp);
    QSet<qsizetype> ancestors(const QList<qsizetype> &from) const;

    QList<Node> m_nodes;
    QHash<QString, QList<qsizetype>> m_byId;
    QHash<QString, QString> m_paths;
};

} // namespace ancestry
