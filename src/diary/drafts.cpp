#include "drafts.h"

#include "daykeys.h"
#include "history.h"
#include "notestore.h"
#include "pagestore.h"
#include "storedbytes.h"
#include "thiscomputer.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>

namespace drafts {

namespace {

constexpr std::array kPrefixes{"page@", "print@", "note@"};

QString prefix(Kind kind)
{
    return QString::fromLatin1(kPrefixes[size_t(kind)]);
}

bool validKey(Kind kind, const QString &key)
{
    return kind == Kind::Note ? daykeys::monthDayFromNoteKey(key).has_value() : daykeys::dateFromDayKey(key).has_value();
}

std::optional<Draft> draftNamed(const QString &folder, const QString &name)
{
    for (const Kind kind : {Kind::Page, Kind::PrintCopy, Kind::Note}) {
        if (!name.startsWith(prefix(kind)))
            continue;
        const QString key = daykeys::keyFromFileName(QStringView(name).sliced(prefix(kind).size()));
        if (validKey(kind, key))
            return Draft{kind, key, folder + QLatin1Char('/') + name};
    }
    return std::nullopt;
}

} // namespace

QString folder(const DataRoot &root)
{
    return root.path() + QStringLiteral("/.drafts/") + thiscomputer::id();
}

QString path(const DataRoot &root, Kind kind, const QString &key)
{
    return folder(root) + QLatin1Char('/') + prefix(kind) + daykeys::fileName(key);
}

QString storedFile(const DataRoot &root, const Draft &draft)
{
    return draft.kind == Kind::Note ? root.notePath(draft.key) : root.pagePath(draft.key);
}

Outcome write(const DataRoot &root, Kind kind, const QString &key, const QByteArray &content)
{
    const std::optional<QByteArray> stored =
        kind == Kind::Note ? notestore::encodeNote(QString::fromUtf8(content)) : pagestore::encodePage(content);
    if (!stored)
        return Outcome::failure(QStringLiteral("The draft holds a byte a page cannot store."));
    if (!root.makeFolder(folder(root)))
        return Outcome::failure(QStringLiteral("The drafts folder cannot be made."));
    return storedbytes::write(root, path(root, kind, key), *stored, storedFile(root, Draft{kind, key, {}}));
}

void remove(const DataRoot &root, Kind kind, const QString &key)
{
    QFile::remove(path(root, kind, key));
}

void setAside(const DataRoot &root, const Draft &draft)
{
    history::setAside(root, storedFile(root, draft), draft.path);
}

QList<Draft> found(const DataRoot &root)
{
    QList<Draft> all;
    for (const QString &where : {folder(root), root.path() + QStringLiteral("/.drafts")}) {
        for (const QString &name : QDir(where).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            if (const auto draft = draftNamed(where, name))
                all.append(*draft);
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const Draft &a, const Draft &b) { return a.kind < b.kind; });
    return all;
}

} // namespace drafts
