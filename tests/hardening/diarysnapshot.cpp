#include "diarysnapshot.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

DiarySnapshot::DiarySnapshot(const TestDataRoot &data) : m_folder(data.path()), m_files(take()) {}

std::map<QString, QByteArray> DiarySnapshot::take() const
{
    std::map<QString, QByteArray> files;
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        QCryptographicHash digest(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly))
            digest.addData(&file);
        files[QDir(m_folder).relativeFilePath(file.fileName())] = digest.result();
    }
    return files;
}

QStringList DiarySnapshot::changes() const
{
    const std::map<QString, QByteArray> now = take();
    QStringList changed;
    for (const auto &[path, digest] : m_files) {
        const auto found = now.find(path);
        if (found == now.end() || found->second != digest)
            changed.append(path);
    }
    for (const auto &[path, digest] : now) {
        if (!m_files.contains(path))
            changed.append(path);
    }
    return changed;
}
