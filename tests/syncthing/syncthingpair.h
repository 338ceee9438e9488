#pragma once

#include <QNetworkAccessManager>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>

class QJsonObject;

// Two computers on this machine, each a Syncthing instance with a diary
// folder of its own, sharing that folder over 127.0.0.1 alone: no discovery,
// relays, NAT, upgrades or reports, and no watcher, so a change travels only
// when a scan asks for it. Every wait is bounded and fails saying what it
// waited for; the instances stop with the pair, and die with the test
// program should it crash.
class SyncthingPair
{
public:
    enum Computer { Desktop, Laptop };

    SyncthingPair();
    ~SyncthingPair();
    SyncthingPair(const SyncthingPair &) = delete;
    SyncthingPair &operator=(const SyncthingPair &) = delete;

    // Makes both homes and diary folders and starts both instances, connected.
    testing::AssertionResult begin();
    QString folder(Computer computer) const;

    // A stopped computer is one the other cannot meet: what changes there
    // travels once it starts again.
    testing::AssertionResult stop(Computer computer);
    testing::AssertionResult start(Computer computer);

    // Scans both folders and waits until each holds what the other has, then
    // once more until a scan finds nothing new, so that a conflict copy one
    // side made has reached the other as well.
    testing::AssertionResult sync();

private:
    struct Instance
    {
        QString name;
        QString home;
        QString folder;
        QString id;
        quint16 gui = 0;
        quint16 listen = 0;
        std::unique_ptr<QProcess> process;
        qint64 lastEvent = 0;
        QByteArray output;
    };

    Instance &other(const Instance &instance) { return m_instances[1 - (&instance - m_instances.data())]; }
    testing::AssertionResult generate(Instance &instance);
    bool configure(const Instance &instance);
    bool running(const Instance &instance) const;

    QNetworkReply *send(const Instance &instance, const QByteArray &verb, const QString &path);
    std::optional<QJsonObject> call(const Instance &instance, const QByteArray &verb, const QString &path);
    bool holdsAll(Instance &instance);
    std::optional<std::array<qint64, 2>> sequences();
    testing::AssertionResult waitUntilInSync();
    void awaitEvents();

    testing::AssertionResult failure(const QString &what) const;

    QTemporaryDir m_dir;
    QNetworkAccessManager m_network;
    std::array<Instance, 2> m_instances;
};
