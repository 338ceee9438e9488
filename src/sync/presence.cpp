#include "presence.h"

#include "diary/boundedfile.h"
#include "diary/privatefiles.h"
#include "diary/thiscomputer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

namespace presence {

namespace {

// A file larger than this is no presence file.
constexpr qint64 kLargest = 4096;

QString openFolder(const QString &diaryFolder) { return diaryFolder + QStringLiteral("/.quillnest/open"); }

// Only letters, digits, '-' and '.' go into a file name made from a host name.
QString fileSafe(const QString &name)
{
    QString safe;
    for (const QChar c : name)
        safe += c.isLetterOrNumber() || c == u'-' || c == u'.' ? c : QChar(u'_');
    return safe.left(64);
}

// Through the diary's bounded reader: another computer's file may be anything by now.
std::optional<Computer> read(const QString &path)
{
    const boundedfile::Contents contents = boundedfile::read(path, kLargest);
    const QStringList lines = QString::fromUtf8(contents.bytes).split(u'\n');
    const QDateTime since = QDateTime::fromString(lines.value(1), Qt::ISODate);
    if (!contents || lines.value(0).isEmpty() || !since.isValid())
        return std::nullopt;
    return Computer{lines.value(0), since};
}

} // namespace

QString thisComputer()
{
    return fileSafe(QSysInfo::machineHostName()) + u'-' + thiscomputer::id();
}

QList<Computer> others(const QString &diaryFolder, const QDateTime &now)
{
    QList<Computer> found;
    const QDir folder(openFolder(diaryFolder));
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (file.fileName() == thisComputer() || file.lastModified().secsTo(now) > kFreshFor)
            continue;
        if (auto computer = read(file.filePath()))
            found.append(*computer);
    }
    return found;
}

bool announce(const QString &diaryFolder, const QDateTime &since, const QString &computer)
{
    if (!privatefiles::makeFolder(openFolder(diaryFolder)))
        return false;
    QSaveFile file(openFolder(diaryFolder) + u'/' + computer);
    const QByteArray text = (QSysInfo::machineHostName() + u'\n' + since.toUTC().toString(Qt::ISODate) + u'\n').toUtf8();
    return file.open(QIODevice::WriteOnly) && privatefiles::makePrivate(file) && file.write(text) == text.size() &&
           file.commit();
}

void withdraw(const QString &diaryFolder, const QString &computer)
{
    QFile::remove(openFolder(diaryFolder) + u'/' + computer);
    // rmdir removes a folder only while it is empty, so another computer's file stays.
    QDir(diaryFolder + QStringLiteral("/.quillnest")).rmdir(QStringLiteral("open"));
    QDir(diaryFolder).rmdir(QStringLiteral(".quillnest"));
}

} // namespace presence
