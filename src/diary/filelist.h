#pragma once

#include <QString>
#include <QStringList>

// The plain files of one folder, sorted by name. A folder that does not
// exist leaves the list pointed where it was.
class FileList
{
public:
    using Filter = bool (*)(QStringView name);
    // Lists only the names `keep` accepts, every file without one.
    explicit FileList(QString path = QString(), Filter keep = nullptr);

    // Returns false, keeping the old path, when the folder does not exist.
    bool setPath(const QString &path);
    QString path() const { return m_path; }
    void refresh();

    const QStringList &entries() const { return m_entries; }
    qsizetype count() const { return m_entries.size(); }

private:
    QString m_path;
    Filter m_keep;
    QStringList m_entries;
};

QStringList sortedFileNames(const QString &folder);
// The page files of a pages folder: a name that is no real day, such as a
// sync tool's copy, is never a page.
QStringList pageFileNames(const QString &folder);
