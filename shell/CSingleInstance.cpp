#include "CSingleInstance.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray kActivate = "activate\n";

} // namespace

CSingleInstance::CSingleInstance(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent)
    , m_strName(name)
    , m_strFolder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder)
{
    if (m_strFolder.isEmpty())
        m_strFolder = QDir::tempPath();
}

CSingleInstance::~CSingleInstance()
{
    if (m_pServer)
        m_pServer->close();
    // The lock file goes with m_pLock (unlocked by its destructor).
}

QString CSingleInstance::SafeName(const QString& name)
{
    // A hash: injective enough, free of any character a file name or a
    // socket path cannot hold, and short whatever the User.ini name is.
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("velmarc-module-") + QString::fromLatin1(hash);
}

QString CSingleInstance::LockFilePath() const
{
    return QDir(m_strFolder).filePath(SafeName(m_strName) + QStringLiteral(".lock"));
}

QString CSingleInstance::ServerPath() const
{
    return QDir(m_strFolder).filePath(SafeName(m_strName) + QStringLiteral(".sock"));
}

bool CSingleInstance::Acquire()
{
    if (m_pServer)
        return true;
    QDir().mkpath(m_strFolder);
    m_pLock = std::make_unique<QLockFile>(LockFilePath());
    // Only a lock whose process is gone is stale: an age limit would let a
    // second copy take over from a first one that has simply run a while.
    m_pLock->setStaleLockTime(0);
    if (!m_pLock->tryLock(0)) {
        const QLockFile::LockError error = m_pLock->error();
        m_pLock.reset();
        if (error == QLockFile::LockFailedError) {
            NotifyRunningCopy();
            return false;
        }
        // The runtime folder is unusable: run without the guard rather
        // than not at all.
        qWarning() << "single-instance lock unavailable:" << LockFilePath() << error;
        return true;
    }

    // We hold the lock, so a socket file left by a crashed copy is stale.
    QLocalServer::removeServer(ServerPath());
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(ServerPath()))
        qWarning() << "single-instance server unavailable:" << m_pServer->errorString();
    connect(m_pServer, &QLocalServer::newConnection, this, [this]() {
        while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            const auto onData = [this, socket]() {
                if (socket->readAll().contains(kActivate.trimmed())) {
                    qDebug() << "another start for this device: bringing the window forward";
                    emit activateRequested();
                }
            };
            connect(socket, &QLocalSocket::readyRead, this, onData);
            if (socket->bytesAvailable() > 0)
                onData();
        }
    });
    return true;
}

void CSingleInstance::NotifyRunningCopy()
{
    // The running copy may still be starting up and not listen yet.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(ServerPath());
        if (socket.waitForConnected(500)) {
            socket.write(kActivate);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            return;
        }
        QThread::msleep(100);
    }
    qWarning() << "the running copy for this device did not answer";
}
