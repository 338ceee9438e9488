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
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr std::chrono::seconds kLongestWait{60};
// Two passes settle a change, one more a conflict copy made on the way; many more are changes without end.
constexpr int kLongestSync = 8;
constexpr char kApiKey[] = "quillnest-tests";
// The instance's output kept for a failure's message.
constexpr qsizetype kKeptOutput = 4096;

// Everything a computer of the pair needs, and nothing that leaves 127.0.0.1. A folder's settings do not take
// Syncthing's defaults from a hand-written file, so those that matter here are written out.
const char *const kConfig = R"(<configuration version="36">
    <folder id="diary" label="diary" path="%1" type="sendreceive" rescanIntervalS="0" fsWatcherEnabled="false" autoNormalize="true">
        <device id="%2"></device>
        <device id="%3"></device>
        <minDiskFree unit="%">1</minDiskFree>
        <maxConflicts>-1</maxConflicts>
    </folder>
    <device id="%3" name="%4"><address>tcp://127.0.0.1:%5</address></device>
    <gui enabled="true" tls="false"><address>127.0.0.1:%6</address><apikey>%7</apikey></gui>
    <options>
        <listenAddress>tcp://127.0.0.1:%8</listenAddress>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <startBrowser>false</startBrowser>
        <urAccepted>-1</urAccepted>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <crashReportingEnabled>false</crashReportingEnabled>
    </options>
</configuration>
)";

// Ports nothing listens on, each held until all are found so that none repeats.
std::array<quint16, 4> freePorts()
{
    std::array<QTcpServer, 4> servers;
    std::array<quint16, 4> ports{};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        servers[i].listen(QHostAddress::LocalHost);
        ports[i] = servers[i].serverPort();
    }
    return ports;
}

// STMONITORED skips the monitor process Syncthing otherwise starts even with --no-restart: one process
// whose end is the instance's end, and which the kernel stops should this program die first.
std::unique_ptr<QProcess> syncthing(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"STMONITORED", "STNORESTART", "STNOUPGRADE", "STNODEFAULTFOLDER"})
        environment.insert(QLatin1String(name), QStringLiteral("1"));
    environment.insert(QStringLiteral("STHASHING"), QStringLiteral("minio"));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start(QStringLiteral("syncthing"), arguments);
    return process;
}

// Runs the event loop until one of the replies has finished, or the deadline passes.
void awaitAny(const QList<QNetworkReply *> &replies, QDeadlineTimer deadline)
{
    QEventLoop loop;
    for (QNetworkReply *reply : replies)
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(int(deadline.remainingTime()), &loop, &QEventLoop::quit);
    if (std::ranges::none_of(replies, &QNetworkReply::isFinished))
        loop.exec();
}

} // namespace

SyncthingPair::SyncthingPair()
{
    m_network.setProxy(QNetworkProxy::NoProxy);
}

SyncthingPair::~SyncthingPair()
{
    for (const Computer computer : {Desktop, Laptop})
        stop(computer);
}

testing::AssertionResult SyncthingPair::begin()
{
    const auto ports = freePorts();
    for (int i = 0; i < 2; ++i) {
        Instance &instance = m_instances[i];
        instance.name = i == Desktop ? QStringLiteral("desktop") : QStringLiteral("laptop");
        instance.home = m_dir.filePath(instance.name + QStringLiteral("-syncthing"));
        instance.folder = m_dir.filePath(instance.name);
        instance.gui = ports[2 * i];
        instance.listen = ports[2 * i + 1];
        if (auto made = generate(instance); !made)
            return made;
        // The diary itself keeps Syncthing off each computer's own files, as at a sign-in.
        if (!QDir().mkpath(instance.folder + QStringLiteral("/.stfolder")) || !syncignore::writeIfShared(instance.folder))
            return failure(QStringLiteral("the diary folder %1 could not be made").arg(instance.folder));
    }
    for (const Computer computer : {Desktop, Laptop}) {
        if (!configure(m_instances[computer]))
            return failure(QStringLiteral("a configuration could not be written"));
        if (auto started = start(computer); !started)
            return started;
    }
    return waitUntilInSync();
}

QString SyncthingPair::folder(Computer computer) const
{
    return m_instances[computer].folder;
}

testing::AssertionResult SyncthingPair::generate(Instance &instance)
{
    const auto process = syncthing({QStringLiteral("generate"), QStringLiteral("--home=") + instance.home,
                                    QStringLiteral("--no-default-folder")});
    if (!process->waitForFinished(std::chrono::milliseconds(kLongestWait).count()) || process->exitCode() != 0)
        return failure(QStringLiteral("`syncthing generate` failed (is Debian's syncthing package installed?): ") +
                       process->errorString() + u'\n' + QString::fromLocal8Bit(process->readAll()));
    static const QRegularExpression deviceId(QStringLiteral("Device ID: ([A-Z0-9-]+)"));
    instance.id = deviceId.match(QString::fromLocal8Bit(process->readAll())).captured(1);
    return instance.id.isEmpty() ? failure(QStringLiteral("no device ID for the %1").arg(instance.name))
                                 : testing::AssertionSuccess();
}

bool SyncthingPair::configure(const Instance &instance)
{
    const Instance &peer = other(instance);
    const QString text = QString::fromLatin1(kConfig).arg(
        instance.folder, instance.id, peer.id, peer.name, QString::number(peer.listen), QString::number(instance.gui),
        QLatin1String(kApiKey), QString::number(instance.listen));
    QSaveFile file(instance.home + QStringLiteral("/config.xml"));
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0 && file.commit();
}

bool SyncthingPair::running(const Instance &instance) const
{
    return instance.process && instance.process->state() == QProcess::Running;
}

testing::AssertionResult SyncthingPair::start(Computer computer)
{
    Instance &instance = m_instances[computer];
    if (running(instance))
        return testing::AssertionSuccess();
    instance.process = syncthing({QStringLiteral("serve"), QStringLiteral("--home=") + instance.home,
                                  QStringLiteral("--no-browser"), QStringLiteral("--no-restart")});
    instance.lastEvent = 0;
    instance.output.clear();
    QProcess *process = instance.process.get();
    QObject::connect(process, &QProcess::readyRead, process, [process, &instance] {
        instance.output = (instance.output + process->readAll()).right(kKeptOutput);
    });
    const QDeadlineTimer deadline(kLongestWait);
    while (!instance.output.contains("GUI and API listening on")) {
        if (!process->waitForReadyRead(int(deadline.remainingTime())))
            return failure(QStringLiteral("the %1's instance did not start: %2").arg(instance.name, process->errorString()));
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult SyncthingPair::stop(Computer computer)
{
    Instance &instance = m_instances[computer];
    if (!instance.process)
        return testing::AssertionSuccess();
    instance.process->terminate();
    const bool stopped = instance.process->waitForFinished(std::chrono::milliseconds(kLongestWait).count());
    if (!stopped)
        instance.process->kill();
    instance.process.reset();
    return stopped ? testing::AssertionSuccess() : failure(QStringLiteral("the %1's instance did not stop").arg(instance.name));
}

QNetworkReply *SyncthingPair::send(const Instance &instance, const QByteArray &verb, const QString &path)
{
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(instance.gui).arg(path)));
    request.setRawHeader("X-API-Key", kApiKey);
    return m_network.sendCustomRequest(request, verb);
}

std::optional<QJsonObject> SyncthingPair::call(const Instance &instance, const QByteArray &verb, const QString &path)
{
    const std::unique_ptr<QNetworkReply> reply(send(instance, verb, path));
    awaitAny({reply.get()}, QDeadlineTimer(kLongestWait));
    if (!reply->isFinished() || reply->error() != QNetworkReply::NoError)
        return std::nullopt;
    return QJsonDocument::fromJson(reply->readAll()).object();
}

// Judged from this side: idle and needing nothing, connected, and the other side holding everything this one
// knows of. With both sides saying so, neither has anything the other lacks.
bool SyncthingPair::holdsAll(Instance &instance)
{
    const Instance &peer = other(instance);
    const auto status = call(instance, "GET", QStringLiteral("/rest/db/status?folder=diary"));
    const auto completion = call(instance, "GET", QStringLiteral("/rest/db/completion?folder=diary&device=") + peer.id);
    const auto connections = call(instance, "GET", QStringLiteral("/rest/system/connections"));
    return status && completion && connections && status->value(u"state").toString() == u"idle" &&
           status->value(u"needTotalItems").toInteger() == 0 && completion->value(u"needItems").toInteger() == 0 &&
           completion->value(u"needDeletes").toInteger() == 0 &&
           connections->value(u"connections").toObject().value(peer.id).toObject().value(u"connected").toBool();
}

std::optional<std::array<qint64, 2>> SyncthingPair::sequences()
{
    std::array<qint64, 2> found{};
    for (int i = 0; i < 2; ++i) {
        const auto status = call(m_instances[i], "GET", QStringLiteral("/rest/db/status?folder=diary"));
        if (!status)
            return std::nullopt;
        found[i] = status->value(u"sequence").toInteger();
    }
    return found;
}

// Each instance's events since the last ones seen, long-polled at once: whichever answers first wakes the wait.
void SyncthingPair::awaitEvents()
{
    std::array<std::unique_ptr<QNetworkReply>, 2> replies;
    for (int i = 0; i < 2; ++i)
        replies[i].reset(send(m_instances[i], "GET", QStringLiteral("/rest/events?since=%1&timeout=1").arg(m_instances[i].lastEvent)));
    awaitAny({replies[0].get(), replies[1].get()}, QDeadlineTimer(std::chrono::seconds(2)));
    for (int i = 0; i < 2; ++i) {
        const QJsonArray events = replies[i]->isFinished() ? QJsonDocument::fromJson(replies[i]->readAll()).array() : QJsonArray();
        if (!events.isEmpty())
            m_instances[i].lastEvent = events.last().toObject().value(u"id").toInteger();
    }
}

testing::AssertionResult SyncthingPair::waitUntilInSync()
{
    const QDeadlineTimer deadline(kLongestWait);
    while (!(holdsAll(m_instances[Desktop]) && holdsAll(m_instances[Laptop]))) {
        if (deadline.hasExpired())
            return failure(QStringLiteral("the two folders were not in sync within %1 s").arg(kLongestWait.count()));
        awaitEvents();
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult SyncthingPair::sync()
{
    if (!running(m_instances[Desktop]) || !running(m_instances[Laptop]))
        return failure(QStringLiteral("a sync needs both computers running"));
    for (int pass = 0; pass < kLongestSync; ++pass) {
        const auto before = sequences();
        for (const Instance &instance : m_instances) {
            if (!call(instance, "POST", QStringLiteral("/rest/db/scan?folder=diary")))
                return failure(QStringLiteral("the %1's folder could not be scanned").arg(instance.name));
        }
        if (auto met = waitUntilInSync(); !met)
            return met;
        if (before && before == sequences())
            return testing::AssertionSuccess();
    }
    return failure(QStringLiteral("every scan found something new"));
}

testing::AssertionResult SyncthingPair::failure(const QString &what) const
{
    auto result = testing::AssertionFailure() << "Syncthing: " << what.toStdString();
    for (const Instance &instance : m_instances) {
        if (!instance.output.isEmpty())
            result << "\n--- the " << instance.name.toStdString() << "'s instance said:\n" << instance.output.toStdString();
    }
    return result;
}
