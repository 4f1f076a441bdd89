#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace {

const QByteArray kRaise = "raise\n";
constexpr int kMaxCallers = 8;      // served at once; more are closed
constexpr int kCallerTimeMs = 2000; // to say what it wants

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

// The person's own folder for sockets and locks, which no other user can write.
QString runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

// The lock as it stands now. One that nobody answered for is removed only
// while it still stands so: otherwise another start is taking it over.
QByteArray lockSeen(const QString& path)
{
    const QFileInfo info(path);
    QFile file(path);
    const QByteArray content =
        info.isFile() && file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArrayLiteral("(not read)");
    return QByteArray::number(info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1) + '\n' + content;
}

bool removeLeftOver(const QString& path)
{
    return QFileInfo(path).isDir() && !QFileInfo(path).isSymLink() ? QDir().rmdir(path) : QFile::remove(path);
}

} // namespace

SingleInstance::SingleInstance(const QString& recordsFolder, QObject* parent)
    : QObject(parent), m_name(serverName(recordsFolder))
{
    const QString folder = canonicalFolder(recordsFolder);
    m_lockPath = QFileInfo(folder).isWritable()
                     ? QDir(folder).filePath(QStringLiteral("pawfolio.lock"))
                     : QDir(runtimeFolder()).filePath(QStringLiteral("pawfolio-%1.lock").arg(folderKey(folder)));
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& recordsFolder)
{
    const QString name = QStringLiteral("pawfolio-%1").arg(folderKey(recordsFolder));
#ifdef Q_OS_WIN
    return name; // a pipe of the person's own session
#else
    return QDir(runtimeFolder()).filePath(name);
#endif
}

bool SingleInstance::start()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a lock whose process is gone is stale at once
    for (int round = 0; round < 3; ++round) {
        if (m_lock->tryLock(0)) {
            if (!listen(true))
                m_problem = QStringLiteral("Pawfolio runs, but another start on these records will not find it: %1")
                                .arg(m_server->errorString());
            return true;
        }
        const QByteArray seen = lockSeen(m_lockPath);
        // Whoever answers holds the folder; one that is starting is given a moment.
        if (askFirstToRaise(m_name))
            return false;
        // Nobody does: the lock is a leftover (empty after a power cut, from
        // another computer, unreadable, a folder), taken over unless it
        // changed meanwhile, when another start is taking it: then try again.
        if (lockSeen(m_lockPath) == seen && !removeLeftOver(m_lockPath))
            break;
    }
    // No lock can be had (a full disk, a lock that cannot be removed): the
    // listening alone keeps a second Pawfolio away. A name in use that
    // nobody answers on is a socket left behind.
    qWarning("Pawfolio: no lock could be taken on \"%s\"; the socket stands in for it.", qPrintable(m_lockPath));
    if (listen(false))
        return true;
    if (askFirstToRaise(m_name))
        return false;
    if (listen(true))
        return true;
    m_problem = QStringLiteral("Pawfolio could neither lock these records (%1) nor listen for another start: %2\n\n"
                               "Make sure that no other Pawfolio works on them while this one runs.")
                    .arg(QDir::toNativeSeparators(m_lockPath), m_server->errorString());
    return true;
}

bool SingleInstance::listen(bool replaceLeftOver)
{
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (replaceLeftOver)
        QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        qWarning("Pawfolio: cannot listen for later starts: %s", qPrintable(m_server->errorString()));
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            // A caller says what it wants within a moment, in as many writes as
            // it likes; one that does not, or one too many, is closed, so that
            // no flood of callers can stop the server.
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (m_server->findChildren<QLocalSocket*>().size() > kMaxCallers) {
                socket->deleteLater(); // which closes it
                continue;
            }
            QTimer::singleShot(kCallerTimeMs, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    if (socket->readLine() == kRaise)
                        emit raiseRequested();
                }
                if (socket->bytesAvailable() > kRaise.size())
                    socket->abort(); // no line of ours
            });
        }
    });
    return true;
}

bool SingleInstance::askFirstToRaise(const QString& name)
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
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}
