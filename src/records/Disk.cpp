#include "records/Disk.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <QDir>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace disk {

namespace {

Faults s_faults = nullptr;

int faultAt(Call call, const QString& path, qint64 sizeAfter = 0)
{
    return s_faults ? s_faults(call, path, sizeAfter) : 0;
}

// Words that name no cause: Qt's when nothing set a reason, the C library's
// for a number it does not know.
bool namesNoCause(const QString& words)
{
    return words.isEmpty() || words.startsWith(QLatin1String("Unknown error")) ||
           words == QCoreApplication::translate("QIODevice", "Unknown error");
}

#ifndef Q_OS_WIN
QString notAFile(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("There is a folder of that name.");
    const QString kind = S_ISFIFO(st.st_mode)                         ? QStringLiteral("a named pipe")
                         : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? QStringLiteral("a device")
                         : S_ISSOCK(st.st_mode)                       ? QStringLiteral("a socket")
                                                                      : QStringLiteral("something else");
    return QStringLiteral("It is %1, not a file Pawfolio can use.").arg(kind);
}
#endif

} // namespace

void setFaults(Faults faults)
{
    s_faults = faults;
}

QString reasonOf(int error)
{
    const QString words = QString::fromLocal8Bit(std::strerror(error));
    return error == 0 || namesNoCause(words)
               ? QStringLiteral("The system gave no reason (error %1); the disk may be full or gone.").arg(error)
               : words;
}

QString reasonOf(const QFileDevice& file, const QString& otherwise)
{
    const QString words = file.errorString();
    return file.error() == QFileDevice::NoError || namesNoCause(words) ? otherwise : words;
}

QString partWritten(const QFileDevice& file)
{
    return reasonOf(file, QStringLiteral("The disk took only part of it; it may be full."));
}

QString usable(const QString& path, qint64 maxBytes)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    const bool tooLarge = info.isFile() && info.size() > maxBytes;
#else
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return {}; // nothing there, a folder, or nothing that can be looked at: the caller's to say
    if (!S_ISREG(st.st_mode))
        return notAFile(st);
    const bool tooLarge = st.st_size > maxBytes;
#endif
    return tooLarge ? QStringLiteral("It is far larger than any file Pawfolio writes there.") : QString();
}

QString open(QFile& file, QIODevice::OpenMode mode)
{
#ifdef Q_OS_WIN
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("There is a folder of that name.");
    return file.open(mode) ? QString() : reasonOf(file, QStringLiteral("It could not be opened."));
#else
    // Looked at first through an open that does not wait (a pipe with nobody
    // at its other end would hold an ordinary open for good).
    int flags = O_CLOEXEC | O_NONBLOCK;
    flags |= (mode & QIODevice::ReadWrite) == QIODevice::ReadWrite ? O_RDWR
             : (mode & QIODevice::WriteOnly)                       ? O_WRONLY
                                                                   : O_RDONLY;
    if (mode & QIODevice::WriteOnly)
        flags |= mode & QIODevice::NewOnly ? O_CREAT | O_EXCL : O_CREAT;
    const QByteArray name = QFile::encodeName(file.fileName());
    const int fd = ::open(name.constData(), flags, 0666);
    struct stat st {};
    if (fd < 0) {
        const int error = errno;
        // A pipe opened for writing with no reader refuses at once.
        return ::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode) ? notAFile(st) : reasonOf(error);
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString why = S_ISREG(st.st_mode) ? reasonOf(errno) : notAFile(st);
        ::close(fd);
        return why;
    }
    ::close(fd);
    // Opened again by its name, which the file keeps for its messages; what
    // is opened must be what was looked at.
    struct stat opened {};
    if (!file.open(mode & ~QIODevice::NewOnly))
        return reasonOf(file, QStringLiteral("It could not be opened."));
    if (::fstat(file.handle(), &opened) != 0 || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) {
        file.close();
        return QStringLiteral("It was replaced while it was being opened.");
    }
    return {};
#endif
}

QString write(QFile& file, const char* data, qint64 size)
{
    qint64 kept = size;
    if (const int fault = faultAt(Call::Write, file.fileName(), qMax(file.size(), file.pos() + size));
        fault == KeepHalf)
        kept = size / 2;
    else if (fault != 0)
        return reasonOf(fault);
    return file.write(data, kept) == kept ? QString() : partWritten(file);
}

QString sync(QFile& file)
{
    if (!file.flush())
        return partWritten(file);
    int error = faultAt(Call::Sync, file.fileName());
#ifdef Q_OS_WIN
    if (error == 0 && _commit(file.handle()) != 0)
#else
    if (error == 0 && ::fsync(file.handle()) != 0)
#endif
        error = errno;
    return error == 0 ? QString() : QStringLiteral("The disk did not confirm the write (%1).").arg(reasonOf(error));
}

QString rename(const QString& from, const QString& to)
{
    if (const int fault = faultAt(Call::Rename, to))
        return reasonOf(fault);
#ifdef Q_OS_WIN
    // In place at once, and on the disk when the call returns.
    const auto native = [](const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); };
    if (MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    const DWORD error = GetLastError();
    const QString words = qt_error_string(int(error));
    return namesNoCause(words) ? reasonOf(0) : words;
#else
    const auto fsPath = [](const QString& path) {
        return std::filesystem::path(QFile::encodeName(path).toStdString());
    };
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    return error ? reasonOf(error.value()) : QString();
#endif
}

QString syncFolder(const QString& filePath)
{
    if (const int fault = faultAt(Call::SyncFolder, filePath))
        return reasonOf(fault);
#ifdef Q_OS_WIN
    return {}; // a rename made with write-through is on the disk already
#else
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return reasonOf(errno);
    // A file system that keeps no folder on the disk of its own says EINVAL:
    // there the rename is as safe as it gets.
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error == 0 ? QString() : reasonOf(error);
#endif
}

QString takeModeOf([[maybe_unused]] QFile& file, [[maybe_unused]] const QString& like)
{
#ifndef Q_OS_WIN
    struct stat st {};
    if (::stat(QFile::encodeName(like).constData(), &st) != 0)
        return reasonOf(errno);
    // The owner first: a change of owner takes the set-ID bits away again.
    if (::fchown(file.handle(), st.st_uid, st.st_gid) != 0)
        (void)!::fchown(file.handle(), uid_t(-1), st.st_gid); // the group alone, where only it may be given
    if (::fchmod(file.handle(), st.st_mode & 07777) != 0)
        return reasonOf(errno);
#endif
    return {};
}

int linkCount([[maybe_unused]] const QString& path)
{
#ifndef Q_OS_WIN
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return int(st.st_nlink);
#endif
    return 1;
}

} // namespace disk
