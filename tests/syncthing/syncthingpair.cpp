#include "syncthingpair.h"

#include "sync/syncignore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTcpServer>

#include <csignal>
#include <sys/prctl.h>

namespace {

using Instance = SyncthingPair::Instance;

constexpr int kLongestWaitMs = 60000;
// Two passes settle a change, one more a conflict copy made on the way; many more are changes without end.
constexpr int kLongestSync = 8;
constexpr char kApiKey[] = "quillnest-tests";

// Everything a computer of the pair needs, and nothing that leaves 127.0.0.1. A folder's settings do not take
// Syncthing's defaults from a hand-written file, so those that matter here are written out.
const char *const kConfig = R"(<configuration version="36">
<folder id="diary" label="diary" path="%1" type="sendreceive" rescanIntervalS="0" fsWatcherEnabled="false" autoNormalize="true">
    <device id="%2"></device><device id="%3"></device><minDiskFree unit="%">1</minDiskFree><maxConflicts>-1</maxConflicts>
</folder>
<device id="%3" name="%4"><address>tcp://127.0.0.1:%5</address></device>
<gui enabled="true" tls="false"><address>127.0.0.1:%6</address><apikey>%7</apikey></gui>
<options><listenAddress>tcp://127.0.0.1:%8</listenAddress><globalAnnounceEnabled>false</globalAnnounceEnabled>
    <localAnnounceEnabled>false</localAnnounceEnabled><relaysEnabled>false</relaysEnabled><natEnabled>false</natEnabled>
    <startBrowser>false</startBrowser><urAccepted>-1</urAccepted><autoUpgradeIntervalH>0</autoUpgradeIntervalH>
    <crashReportingEnabled>false</crashReportingEnabled></options>
</configuration>)";

// STMONITORED skips the monitor process Syncthing otherwise starts even with --no-restart: one process
// whose end is the instance's end, and which the kernel stops should this program die first.
std::unique_ptr<QProcess> syncthing(const Instance &instance, QStringList arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"STMONITORED", "STNORESTART", "STNOUPGRADE", "STNODEFAULTFOLDER"})
        environment.insert(QLatin1String(name), QStringLiteral("1"));
    environment.insert(QStringLiteral("STHASHING"), QStringLiteral("minio"));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start(QStringLiteral("syncthing"), arguments << QStringLiteral("--home=%1-syncthing").arg(instance.folder));
    return process;
}

// Makes the instance's home with its keys and learns its device ID; what went wrong, if anything.
QString generate(Instance &instance)
{
    const auto made = syncthing(instance, {QStringLiteral("generate"), QStringLiteral("--no-default-folder")});
    const QString said = made->waitForFinished(kLongestWaitMs) ? QString::fromLocal8Bit(made->readAll()) : QString();
    instance.id = QRegularExpression(QStringLiteral("Device ID: ([A-Z0-9-]+)")).match(said).captured(1);
    return made->exitCode() == 0 && !instance.id.isEmpty() ? QString() : made->errorString() + u'\n' + said;
}

// The request's transfer timeout ends a reply that never comes, so every wait on one is bounded.
QNetworkReply *send(QNetworkAccessManager &network, const Instance &instance, const QString &path, const QByteArray &verb = "GET",
                    int timeoutMs = kLongestWaitMs)
{
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(instance.gui).arg(path)));
    request.setRawHeader("X-API-Key", kApiKey);
    request.setTransferTimeout(timeoutMs);
    return network.sendCustomRequest(request, verb);
}

void awaitAny(std::initializer_list<QNetworkReply *> replies)
{
    QEventLoop loop;
    for (QNetworkReply *reply : replies)
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (std::ranges::none_of(replies, &QNetworkReply::isFinished))
        loop.exec();
}

std::optional<QJsonObject> call(QNetworkAccessManager &network, const Instance &instance, const QString &path,
                                const QByteArray &verb = "GET")
{
    const std::unique_ptr<QNetworkReply> reply(send(network, instance, path, verb));
    awaitAny({reply.get()});
    return reply->error() ? std::nullopt : std::optional(QJsonDocument::fromJson(reply->readAll()).object());
}

// Each instance's events since the last ones seen, long-polled at once: whichever answers first wakes the wait.
void awaitEvents(QNetworkAccessManager &network, std::array<Instance, 2> &instances)
{
    std::array<std::unique_ptr<QNetworkReply>, 2> replies;
    for (int i = 0; i < 2; ++i)
        replies[i].reset(
            send(network, instances[i], QStringLiteral("/rest/events?since=%1&timeout=1").arg(instances[i].lastEvent), "GET", 2000));
    awaitAny({replies[0].get(), replies[1].get()});
    for (int i = 0; i < 2; ++i) {
        const QJsonArray events = QJsonDocument::fromJson(replies[i]->readAll()).array();
        if (!events.isEmpty())
            instances[i].lastEvent = events.last().toObject().value(u"id").toInteger();
    }
}

} // namespace

testing::AssertionResult SyncthingPair::begin()
{
    m_network.setProxy(QNetworkProxy::NoProxy);
    std::array<QTcpServer, 4> ports; // each held until all are found, so that none repeats
    for (int i = 0; i < 2; ++i) {
        Instance &instance = m_instances[i];
        instance.name = i == Desktop ? QStringLiteral("desktop") : QStringLiteral("laptop");
        instance.folder = m_dir.filePath(instance.name);
        instance.gui = ports[2 * i].listen(QHostAddress::LocalHost) ? ports[2 * i].serverPort() : 0;
        instance.listen = ports[2 * i + 1].listen(QHostAddress::LocalHost) ? ports[2 * i + 1].serverPort() : 0;
        if (const QString error = generate(instance); !error.isEmpty())
            return failure(QStringLiteral("`syncthing generate` failed (is Debian's syncthing package installed?): ") + error);
        // The diary itself keeps Syncthing off each computer's own files, as at a sign-in.
        if (!QDir().mkpath(instance.folder + QStringLiteral("/.stfolder")) || !syncignore::writeIfShared(instance.folder))
            return failure(QStringLiteral("the diary folder %1 could not be made").arg(instance.folder));
    }
    for (QTcpServer &port : ports)
        port.close();
    for (const Computer computer : {Desktop, Laptop}) {
        const Instance &instance = m_instances[computer], &peer = m_instances[1 - computer];
        QSaveFile config(instance.folder + QStringLiteral("-syncthing/config.xml"));
        const QString text = QString::fromLatin1(kConfig).arg(
            instance.folder, instance.id, peer.id, peer.name, QString::number(peer.listen), QString::number(instance.gui),
            QLatin1String(kApiKey), QString::number(instance.listen));
        if (!config.open(QIODevice::WriteOnly) || config.write(text.toUtf8()) <= 0 || !config.commit())
            return failure(QStringLiteral("a configuration could not be written"));
        if (auto started = start(computer); !started)
            return started;
    }
    return sync();
}

testing::AssertionResult SyncthingPair::start(Computer computer)
{
    Instance &instance = m_instances[computer];
    instance.process = syncthing(instance, {QStringLiteral("serve"), QStringLiteral("--no-browser"), QStringLiteral("--no-restart")});
    instance.lastEvent = 0;
    instance.output.clear();
    QProcess *process = instance.process.get();
    // The end of what the instance said, kept for a failure's message.
    QObject::connect(process, &QProcess::readyRead, process, [process, &instance] {
        instance.output = (instance.output + process->readAll()).right(4096);
    });
    const QDeadlineTimer deadline(kLongestWaitMs);
    while (!instance.output.contains("GUI and API listening on")) {
        if (!process->waitForReadyRead(int(deadline.remainingTime())))
            return failure(QStringLiteral("the %1's instance did not start: %2").arg(instance.name, process->errorString()));
    }
    return testing::AssertionSuccess();
}

// A process still running when its QProcess goes is killed.
testing::AssertionResult SyncthingPair::stop(Computer computer)
{
    const std::unique_ptr<QProcess> process = std::move(m_instances[computer].process);
    if (process)
        process->terminate();
    return !process || process->waitForFinished(kLongestWaitMs)
               ? testing::AssertionSuccess()
               : failure(QStringLiteral("the %1's instance did not stop").arg(m_instances[computer].name));
}

// Judged from this side: idle and needing nothing, connected, and the other side holding everything this one
// knows of. With both sides saying so, neither has anything the other lacks.
bool SyncthingPair::holdsAll(Computer computer)
{
    Instance &instance = m_instances[computer];
    const Instance &peer = m_instances[1 - computer];
    const auto status = call(m_network, instance, QStringLiteral("/rest/db/status?folder=diary"));
    const auto completion = call(m_network, instance, QStringLiteral("/rest/db/completion?folder=diary&device=") + peer.id);
    const auto connections = call(m_network, instance, QStringLiteral("/rest/system/connections"));
    if (!status || !completion || !connections)
        return false;
    instance.sequence = status->value(u"sequence").toInteger();
    return status->value(u"state").toString() == u"idle" && status->value(u"needTotalItems").toInteger() == 0 &&
           completion->value(u"needItems").toInteger() == 0 && completion->value(u"needDeletes").toInteger() == 0 &&
           connections->value(u"connections").toObject().value(peer.id).toObject().value(u"connected").toBool();
}

// A stopped computer's folder cannot be scanned, so a sync needs both running.
testing::AssertionResult SyncthingPair::sync()
{
    const auto sequences = [this] { return std::array{m_instances[Desktop].sequence, m_instances[Laptop].sequence}; };
    for (int pass = 0; pass < kLongestSync; ++pass) {
        const auto before = sequences();
        for (const Instance &instance : m_instances) {
            if (!call(m_network, instance, QStringLiteral("/rest/db/scan?folder=diary"), "POST"))
                return failure(QStringLiteral("the %1's folder could not be scanned").arg(instance.name));
        }
        const QDeadlineTimer deadline(kLongestWaitMs);
        while (!(holdsAll(Desktop) && holdsAll(Laptop))) {
            if (deadline.hasExpired())
                return failure(QStringLiteral("the two folders were not in sync within %1 s").arg(kLongestWaitMs / 1000));
            awaitEvents(m_network, m_instances);
        }
        if (before == sequences())
            return testing::AssertionSuccess();
    }
    return failure(QStringLiteral("every scan found something new"));
}

testing::AssertionResult SyncthingPair::failure(const QString &what) const
{
    auto result = testing::AssertionFailure() << "Syncthing: " << what.toStdString();
    for (const Instance &instance : m_instances)
        result << "\n--- the " << instance.name.toStdString() << "'s instance said:\n" << instance.output.toStdString();
    return result;
}
