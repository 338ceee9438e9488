#include "fuzzsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace fuzzsupport {

void startQt(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
}

QString scratchFolder()
{
    // Memory-backed when it can be: the targets write a file per input.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/quillnest-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/quillnest-fuzz-XXXXXX"));
    static const bool made = QDir(dir.path()).mkpath(QStringLiteral("pages")) && QDir(dir.path()).mkpath(QStringLiteral("dates"));
    if (!made)
        std::abort();
    return dir.path();
}

QString writeScratch(const QString &relative, const QByteArray &bytes)
{
    const QString path = scratchFolder() + QLatin1Char('/') + relative;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

QByteArray bytesOf(const unsigned char *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

} // namespace fuzzsupport
