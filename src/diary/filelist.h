#pragma once

#include <QString>
#include <QStringList>

// The plain files of one folder, sorted by name. A folder that does not
// exist leaves the list pointed where it was.
class FileList
{
public:
    explicit FileList(QString path = QString());

    // Returns false, keeping the old path, when the folder does not exist.
    bool setPath(const QString &path);
    QString path() const { return m_path; }
    void refresh();

    const QStringList &entries() const { return m_entries; }
    qsizetype count() const { return m_entries.size(); }

private:
    QString m_path;
    QStringList m_entries;
};

QStringList sortedFileNames(const QString &folder);
