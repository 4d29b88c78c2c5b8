#include "SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The socket lives in the abstract namespace on Linux, so a crashed instance
// leaves nothing behind; the user id keeps two users' sessions apart.
QString SocketName(const QString &name)
{
#ifdef Q_OS_UNIX
    return name + QStringLiteral(" [%1]").arg(::getuid());
#else
    return name;
#endif
}

constexpr int ConnectTimeoutMs = 1000;

} // namespace

QString TSingleInstance::MutexName(const QString &version)
{
    return QStringLiteral("Halvex Version %1 System Mutex").arg(version.trimmed());
}

TSingleInstance::TSingleInstance(const QString &name, QObject *parent)
    : QObject(parent), name(SocketName(name))
{
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::AskRunningInstance()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write("show\n");
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool TSingleInstance::Claim()
{
    if (server)
        return true;
    // Two starts at the same moment: the one that loses the listen asks the
    // winner, which may need a moment before it accepts.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (AskRunningInstance())
            return false;
        auto *candidate = new QLocalServer(this);
        candidate->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        if (candidate->listen(name)) {
            server = candidate;
            connect(server, &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket *peer = server->nextPendingConnection()) {
                    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
                    peer->disconnectFromServer();
                }
                emit ComeForward();
            });
            return true;
        }
        delete candidate;
        QThread::msleep(50);
    }
    // Neither listening nor reaching the other instance: better to run twice
    // than not at all.
    return true;
}
