#pragma once

#include <QNetworkAccessManager>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>

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

    ~SyncthingPair() { stop(Desktop); stop(Laptop); }

    // Makes both homes and diary folders and starts both instances, connected.
    testing::AssertionResult begin();
    QString folder(Computer computer) const { return m_instances[computer].folder; }
    QString home(Computer computer) const { return folder(computer) + QStringLiteral("-syncthing"); }
    QString deviceId(Computer computer) const { return m_instances[computer].id; }

    // A stopped computer is one the other cannot meet: what changes there
    // travels once it starts again.
    testing::AssertionResult stop(Computer computer);
    testing::AssertionResult start(Computer computer);

    // Scans both folders and waits until each holds what the other has, then
    // once more until a scan finds nothing new, so that a conflict copy one
    // side made has reached the other as well.
    testing::AssertionResult sync();

    struct Instance
    {
        QString name;
        QString folder; // its Syncthing home beside it
        QString id;
        quint16 gui = 0;
        quint16 listen = 0;
        std::unique_ptr<QProcess> process;
        qint64 lastEvent = 0;
        qint64 sequence = 0; // the folder's, when last found in sync
        QByteArray output;
    };

private:
    bool holdsAll(Computer computer);
    testing::AssertionResult failure(const QString &what) const;

    QTemporaryDir m_dir;
    QNetworkAccessManager m_network;
    std::array<Instance, 2> m_instances;
};
