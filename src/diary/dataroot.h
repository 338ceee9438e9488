#pragma once

#include <QString>

// The folder under which every data file lies, and the fixed names beneath it.
class DataRoot
{
public:
    explicit DataRoot(const QString &path);

    QString path() const { return m_path; }
    QString pagesDir() const;
    QString datesDir() const;
    QString passwordFile() const;
    QString helpFile() const;
    QString pagePath(const QString &dayKey) const;
    QString notePath(const QString &noteKey) const;

private:
    QString m_path;
};

inline const QString kFileSuffix = QStringLiteral(".dat");
