#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray kRaise = "raise\n";

QString canonicalFolder(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

QString folderKey(const QString& folder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(canonicalFolder(folder).toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder, QObject* parent)
    : QObject(parent), m_name(serverName(programFolder))
{
    const QString folder = canonicalFolder(programFolder);
    m_lockPath = QFileInfo(folder).isWritable()
                     ? QDir(folder).filePath(QStringLiteral("pawfolio.lock"))
                     : QDir(QDir::tempPath()).filePath(QStringLiteral("pawfolio-%1.lock").arg(folderKey(folder)));
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& programFolder)
{
    return QStringLiteral("pawfolio-%1").arg(folderKey(programFolder));
}

bool SingleInstance::start()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A live holder keeps its lock however long it runs; a lock whose process
    // is gone is stale and taken over.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        listen();
        return true;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        // The lock cannot be made at all (a folder that cannot be written
        // where we took it for one): run rather than refuse to start.
        qWarning("Pawfolio: no lock could be taken on \"%s\"; running without one.", qPrintable(m_lockPath));
        listen();
        return true;
    }
    askFirstToRaise(m_name);
    return false;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a process that died would block the name; we hold the
    // lock, so no live Pawfolio of this folder listens on it.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        qWarning("Pawfolio: cannot listen for later starts: %s", qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kRaise))
                    emit raiseRequested();
            });
        }
    });
}

void SingleInstance::askFirstToRaise(const QString& name)
{
    // The first may still be starting: it is given a moment to listen.
    const QDeadlineTimer deadline(1500);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(250)) {
            socket.write(kRaise);
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(50);
    }
}
