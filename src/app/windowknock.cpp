#include "windowknock.h"

#include "diary/diarylock.h"

#include <QLocalSocket>

#include <utility>

namespace {

const QByteArray kComeForward = "come forward\n";
// The holder answers at once unless it is stuck, and then no wait would help.
constexpr int kWaitMs = 1000;

} // namespace

KnockListener::KnockListener(const DataRoot &root, std::function<void()> heard, QObject *parent)
    : QObject(parent), m_heard(std::move(heard))
{
    const QString path = DiaryLock::knockPath(root);
    QLocalServer::removeServer(path);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(path);
    connect(&m_server, &QLocalServer::newConnection, this, &KnockListener::answer);
}

void KnockListener::answer()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < kComeForward.size())
                return;
            if (socket->read(kComeForward.size()) == kComeForward)
                m_heard();
            socket->disconnectFromServer();
        });
    }
}

bool knockOnWindow(const DataRoot &root)
{
    QLocalSocket socket;
    socket.connectToServer(DiaryLock::knockPath(root));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kComeForward);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWaitMs))
            return false;
    }
    return true;
}
