#include "records/EraseRewrite.h"

#include "records/FileError.h"
#include "records/RecordFile.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kBlockBytes = 1 << 20;

void syncFolder(const QString& filePath)
{
#ifndef Q_OS_WIN
    // The rename itself reaches the disk only with its folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(filePath);
#endif
}

std::filesystem::path fsPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

std::optional<QByteArray> eraseRecord(const QString& dataPath, const QString& tempPath, int recordLength,
                                      qint32 k)
{
    RecordFile data(dataPath, recordLength, RecordFile::Mode::Read);
    const qint32 n = data.count();
    const qint64 newSize = qint64(k == n ? n - 1 : n) * recordLength;

    if (QFileInfo(tempPath).isDir())
        throw FileError(tempPath, QStringLiteral("created"), QStringLiteral("There is a folder of that name."));
    QFile temp(tempPath);
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(tempPath, QStringLiteral("created"), temp.errorString());

    auto abandon = [&](const QString& path, const QString& action, const QString& reason) {
        temp.close();
        QFile::remove(tempPath);
        throw FileError(path, action, reason);
    };

    // Copy in large blocks; the erased record is written as zeros, and a last
    // record cut short by the end of the file is completed with zeros.
    QFile source(dataPath);
    if (newSize > 0 && !source.open(QIODevice::ReadOnly))
        abandon(dataPath, QStringLiteral("opened"), source.errorString());
    const qint64 erasedFrom = qint64(k - 1) * recordLength;
    const qint64 erasedTo = erasedFrom + recordLength;
    QByteArray block;
    for (qint64 pos = 0; pos < newSize; pos += kBlockBytes) {
        const qint64 size = qMin(kBlockBytes, newSize - pos);
        block.fill('\0', size);
        if (source.read(block.data(), size) < 0)
            abandon(dataPath, QStringLiteral("read"), source.errorString());
        if (k >= 1 && erasedFrom < pos + size && erasedTo > pos) {
            const qint64 from = qMax(erasedFrom, pos) - pos;
            const qint64 to = qMin(erasedTo, pos + size) - pos;
            std::fill(block.begin() + from, block.begin() + to, '\0');
        }
        if (temp.write(block) != size)
            abandon(tempPath, QStringLiteral("written"), temp.errorString());
    }
    if (!syncToDisk(temp))
        abandon(tempPath, QStringLiteral("written"), temp.errorString());
    temp.close();

    std::optional<QByteArray> lastCopied;
    const qint32 last = (k == n) ? n - 1 : n;
    if (last >= 1)
        lastCopied = data.readRaw(last);
    data.close();
    source.close();

    std::error_code error;
    std::filesystem::rename(fsPath(tempPath), fsPath(dataPath), error);
    if (error) {
        QFile::remove(tempPath);
        throw FileError(dataPath, QStringLiteral("replaced by its rewritten copy"),
                        QString::fromLocal8Bit(error.message()));
    }
    syncFolder(dataPath);
    return lastCopied;
}
