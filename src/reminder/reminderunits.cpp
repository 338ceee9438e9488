#include "reminderunits.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace reminder {

namespace {

const QString kTimer = QString::fromLatin1(kTimerName);

QString unitPath(const char *name)
{
    return unitFolder() + QLatin1Char('/') + QString::fromLatin1(name);
}

Outcome writeUnit(const char *name, const QString &text)
{
    if (!QDir().mkpath(unitFolder()))
        return Outcome::failure(QStringLiteral("cannot make the folder %1").arg(unitFolder()));
    QSaveFile file(unitPath(name));
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Outcome::failure(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
    return Outcome::success();
}

} // namespace

Outcome runSystemctl(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments);
    // A user manager that does not answer in half a minute is not coming.
    if (!process.waitForFinished(30000))
        return Outcome::failure(QStringLiteral("systemctl --user %1: %2").arg(arguments.join(QLatin1Char(' ')), process.errorString()));
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Outcome::failure(QStringLiteral("systemctl --user %1: %2")
                                    .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(process.readAll()).trimmed()));
    return Outcome::success();
}

QString unitFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/systemd/user");
}

QString execArgument(const QString &argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'\\' || c == u'"')
            quoted += QLatin1Char('\\') + c;
        else if (c == u'%' || c == u'$')
            quoted += QString(2, c);
        else if (c == u'\n')
            quoted += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            quoted += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString serviceUnit(const QString &toolPath, const QString &rootPath)
{
    return QStringLiteral("[Unit]\n"
                          "Description=Quillnest's daily reminder to write\n"
                          "\n"
                          "[Service]\n"
                          "Type=oneshot\n"
                          "ExecStart=%1 remind --root %2\n")
        .arg(execArgument(toolPath), execArgument(rootPath));
}

QString timerUnit(QTime time)
{
    return QStringLiteral("[Unit]\n"
                          "Description=Quillnest's daily reminder to write\n"
                          "\n"
                          "[Timer]\n"
                          "OnCalendar=*-*-* %1:00\n"
                          // A day the computer was off at that time still gets its reminder when it starts.
                          "Persistent=true\n"
                          "\n"
                          "[Install]\n"
                          "WantedBy=timers.target\n")
        .arg(time.toString(QStringLiteral("HH:mm")));
}

Outcome switchOn(const Systemctl &systemctl, const QString &toolPath, const QString &rootPath, QTime time)
{
    if (Outcome written = writeUnit(kServiceName, serviceUnit(toolPath, rootPath)); !written)
        return written;
    if (Outcome written = writeUnit(kTimerName, timerUnit(time)); !written)
        return written;
    if (Outcome reloaded = systemctl({QStringLiteral("daemon-reload")}); !reloaded)
        return reloaded;
    // Enabled again, so a changed time replaces the running one.
    return systemctl({QStringLiteral("enable"), QStringLiteral("--now"), kTimer});
}

Outcome switchOff(const Systemctl &systemctl)
{
    const Outcome disabled = systemctl({QStringLiteral("disable"), QStringLiteral("--now"), kTimer});
    for (const char *name : {kTimerName, kServiceName}) {
        const QString path = unitPath(name);
        if (QFileInfo::exists(path) && !QFile::remove(path))
            return Outcome::failure(QStringLiteral("cannot remove %1").arg(path));
    }
    if (!disabled)
        return disabled;
    return systemctl({QStringLiteral("daemon-reload")});
}

} // namespace reminder
