#include "shell/SingleInstance.h"

#include "platform/Prompts.h"
#include "records/Disk.h"
#include "records/FileError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLocale>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

#ifndef Q_OS_WIN
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n"; // what a Pawfolio alive and awake answers
constexpr int kMaxCallers = 8;         // served at once; more are closed
constexpr int kCallerTimeMs = 2000;    // to say what it wants

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

#ifndef Q_OS_WIN
// Whether `folder` is the person's own and nobody else may make names in it.
bool ownPrivateFolder(const QString& folder)
{
    struct stat st {};
    return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}
#endif

// Whether the other end of a connected socket runs as this person.
bool peerIsThisPerson(const QLocalSocket& socket)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(socket);
    return true; // a pipe of the person's own session
#elif defined(Q_OS_LINUX)
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(int(socket.socketDescriptor()), &uid, &gid) == 0 && uid == ::geteuid();
#endif
}

// Whether a Pawfolio of this person listens on `name` and, asked to come to
// the front, says it did: one that is stopped, or another person's, does not.
bool raisedBy(const QString& name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(250) || !peerIsThisPerson(socket))
        return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(500);
    QByteArray reply;
    const QDeadlineTimer patience(1000);
    while (!reply.contains('\n') && !patience.hasExpired() && socket.waitForReadyRead(int(patience.remainingTime())))
        reply += socket.readAll();
    return reply == kRaised;
}

// The lock as it stands now. One taken over is removed only while it still
// stands so: otherwise another start is taking it over.
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

// Who holds a lock that could not be taken.
struct Holder {
    bool exists = false;
    bool known = false; // its process and computer could be read
    qint64 pid = 0;
    QString host;
    QDateTime since;
    bool onThisComputer() const
    {
        // Windows writes its computer's name in capitals, and names it in small letters.
        return known && (host.isEmpty() || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0);
    }
};

Holder holderOf(const QLockFile& lock, const QString& path)
{
    const QFileInfo info(path);
    Holder holder;
    holder.exists = info.exists() || info.isSymLink();
    holder.since = info.lastModified();
    QString program;
    holder.known = info.isFile() && lock.getLockInfo(&holder.pid, &holder.host, &program);
    return holder;
}

} // namespace

// The socket of the folder whose key is `key` in each socket folder, the one
// listened in first.
static QStringList socketNames(const QString& key)
{
    const QString name = QStringLiteral("pawfolio-%1").arg(key);
#ifdef Q_OS_WIN
    return {name};
#else
    QStringList names;
    for (const QString& folder : SingleInstance::socketFolders())
        names << QDir(folder).filePath(name);
    return names;
#endif
}

SingleInstance::SingleInstance(const QString& recordsFolder, QObject* parent)
    : QObject(parent), m_key(folderKey(recordsFolder)), m_name(serverName(recordsFolder))
{
    const QString folder = canonicalFolder(recordsFolder);
    const QString own = socketFolders().value(0, QDir::tempPath());
    m_lockPath = QFileInfo(folder).isWritable() ? QDir(folder).filePath(QStringLiteral("pawfolio.lock"))
                                                : QDir(own).filePath(QStringLiteral("pawfolio-%1.lock").arg(m_key));
}

SingleInstance::~SingleInstance() = default;

QStringList SingleInstance::socketFolders()
{
#ifdef Q_OS_WIN
    return {QString()}; // pipes, of the person's own session
#else
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (ownPrivateFolder(runtime))
        folders << runtime;
    const QString cache = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
                              .filePath(QStringLiteral("pawfolio"));
    if (QDir().mkpath(cache))
        QFile::setPermissions(cache, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (ownPrivateFolder(cache))
        folders << cache;
    return folders;
#endif
}

QString SingleInstance::serverName(const QString& recordsFolder)
{
    return socketNames(folderKey(recordsFolder)).value(0);
}

bool SingleInstance::start()
{
    const QString title = QStringLiteral("Pawfolio");
    // What is not a lock this program could have written (a pipe, a device,
    // a file of megabytes) is never opened: reading it could take for ever.
    if (const QString why = disk::usable(m_lockPath, 4096); !why.isEmpty()) {
        prompts().message(nullptr, title,
                          FileError(m_lockPath, QStringLiteral("used as the lock of these records"), why)
                              .message(QStringLiteral("Take it away, and start Pawfolio again.")),
                          Prompts::Icon::Warning);
        return false;
    }
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // stale only when its process is gone from this computer, never by its age
    for (int round = 0; round < 3; ++round) {
        if (m_lock->tryLock(0)) {
            // A Pawfolio that holds the folder without a lock (a full disk) is
            // handed over to, and its socket kept.
            if (askFirstToRaise(0)) {
                m_lock->unlock();
                return false;
            }
            if (!listen(true))
                m_problem = QStringLiteral("Pawfolio runs, but another start on these records will not find it: %1")
                                .arg(m_server->errorString());
            return true;
        }
        const QByteArray seen = lockSeen(m_lockPath);
        // Whoever answers holds the folder; one that is starting is given a moment.
        if (askFirstToRaise(1500))
            return false;
        const Holder holder = holderOf(*m_lock, m_lockPath);
        if (!holder.exists) {
            if (m_lock->error() == QLockFile::LockFailedError)
                continue; // it went meanwhile
            break;        // none can be written (a full disk)
        }
        if (holder.onThisComputer()) {
            // Alive, or tryLock would have taken it: another person's, one of
            // another session of the person's, or one that is stopped.
            qInfo("Pawfolio: already open on these records, as process %lld, which does not answer.", holder.pid);
            prompts().message(nullptr, title,
                              QStringLiteral("Pawfolio is already open on these records (process %1), but it does "
                                             "not answer.\n\nClose that Pawfolio, or end its process, and start "
                                             "Pawfolio again.")
                                  .arg(holder.pid),
                              Prompts::Icon::Warning);
            return false;
        }
        const QString where = holder.known ? holder.host : QStringLiteral("another computer");
        const QString since = QLocale().toString(holder.since, QLocale::ShortFormat);
        if (!prompts().askYesNo(
                nullptr, title,
                QStringLiteral("Pawfolio seems to be open on %1 since %2. Open it here anyway?").arg(where, since),
                Prompts::Answer::No))
            return false;
        // Taken over, or another start took it first, which the next round
        // hands over to; one that cannot be moved leaves the socket to stand in.
        if (!takeOver(seen) && lockSeen(m_lockPath) == seen)
            break;
    }
    // No lock can be had (a full disk, a lock that cannot be removed): the
    // listening alone keeps a second Pawfolio away. A name in use that
    // nobody answers on is a socket left behind.
    qWarning("Pawfolio: no lock could be taken on \"%s\"; the socket stands in for it.", qPrintable(m_lockPath));
    if (listen(false))
        return true;
    if (askFirstToRaise(1500))
        return false;
    if (listen(true))
        return true;
    m_problem = QStringLiteral("Pawfolio could neither lock these records (%1) nor listen for another start: %2\n\n"
                               "Make sure that no other Pawfolio works on them while this one runs.")
                    .arg(QDir::toNativeSeparators(m_lockPath), m_server->errorString());
    return true;
}

bool SingleInstance::takeOver(const QByteArray& seen)
{
    // Moved aside in one step, which only one start can do; should it be a
    // lock another start has just made, it is put back.
    const QString aside = m_lockPath + QStringLiteral(".taken-%1").arg(QCoreApplication::applicationPid());
    if (!QDir().rename(m_lockPath, aside))
        return false;
    if (lockSeen(aside) == seen)
        return removeLeftOver(aside);
    QDir().rename(aside, m_lockPath);
    return false;
}

bool SingleInstance::listen(bool replaceLeftOver)
{
    delete m_server;
    m_server = serve(m_name, replaceLeftOver);
    if (!m_server->isListening()) {
        qWarning("Pawfolio: cannot listen for later starts: %s", qPrintable(m_server->errorString()));
        return false;
    }
    // Holding the lock, it listens in the person's other socket folder too,
    // where a start from another of their sessions asks first.
    for (const QString& other : socketNames(m_key)) {
        if (other != m_name && m_lock->isLocked())
            serve(other, true);
    }
    return true;
}

QLocalServer* SingleInstance::serve(const QString& name, bool replaceLeftOver)
{
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (replaceLeftOver)
        QLocalServer::removeServer(name);
    if (!server->listen(name))
        return server;
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            // A caller says what it wants within a moment, in as many writes as
            // it likes; one that does not, or one too many, is closed, so that
            // no flood of callers can stop the server.
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (server->findChildren<QLocalSocket*>().size() > kMaxCallers) {
                socket->deleteLater(); // which closes it
                continue;
            }
            QTimer::singleShot(kCallerTimeMs, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    if (socket->readLine() != kRaise)
                        continue;
                    socket->write(kRaised);
                    emit raiseRequested();
                }
                if (socket->bytesAvailable() > kRaise.size())
                    socket->abort(); // no line of ours
            });
        }
    });
    return server;
}

bool SingleInstance::askFirstToRaise(int patienceMs) const
{
    // Each folder a socket may be in: another session of the person's may
    // listen in the other.
    const QStringList candidates = socketNames(m_key);
    const QDeadlineTimer deadline(patienceMs);
    for (;;) {
        for (const QString& name : candidates) {
            if (raisedBy(name))
                return true;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}
