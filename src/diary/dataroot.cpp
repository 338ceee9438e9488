#include "dataroot.h"

#include "daykeys.h"
#include "privatefiles.h"

#include <QDir>
#include <QFileInfo>

DataRoot::DataRoot(const QString &path, std::shared_ptr<Vault> vault) : m_path(QDir::cleanPath(path)), m_vault(std::move(vault)) {}

QString DataRoot::relativeName(const QString &file) const
{
    return QDir(m_path).relativeFilePath(file);
}

QString DataRoot::pagesDir() const { return m_path + QStringLiteral("/pages"); }
QString DataRoot::datesDir() const { return m_path + QStringLiteral("/dates"); }
QString DataRoot::passwordFile() const { return m_path + QStringLiteral("/pw.dat"); }
QString DataRoot::helpFile() const { return m_path + QStringLiteral("/help.htm"); }

QString DataRoot::pagePath(QDate day) const
{
    return pagesDir() + QLatin1Char('/') + daykeys::pageFileName(day);
}

QString DataRoot::notePath(daykeys::MonthDay monthDay) const
{
    return datesDir() + QLatin1Char('/') + daykeys::noteFileName(monthDay);
}

QString DataRoot::pagePath(const QString &dayKey) const
{
    return pagesDir() + QLatin1Char('/') + daykeys::fileName(dayKey);
}

QString DataRoot::notePath(const QString &noteKey) const
{
    return datesDir() + QLatin1Char('/') + daykeys::fileName(noteKey);
}

bool DataRoot::makeFolder(const QString &folder) const
{
    return QFileInfo(m_path).isDir() && privatefiles::makeFolder(folder);
}
