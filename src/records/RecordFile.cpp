#include "records/RecordFile.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <QDir>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

QString syncToDisk(QFile& file)
{
    if (!file.flush())
        return partWritten(file);
#ifdef Q_OS_WIN
    const bool synced = _commit(file.handle()) == 0;
#else
    const bool synced = ::fsync(file.handle()) == 0;
#endif
    return synced ? QString() : QStringLiteral("The disk did not confirm the write (%1).").arg(qt_error_string(errno));
}

QString partWritten(const QFile& file)
{
    return file.error() != QFileDevice::NoError ? file.errorString()
                                                : QStringLiteral("The disk took only part of it; it may be full.");
}

namespace {

std::filesystem::path fsPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Known not to be there: not merely hidden in a folder that cannot be read.
bool missing(const QString& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(fsPath(path), error).type() == std::filesystem::file_type::not_found;
}

} // namespace

QString renameOver(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    // In place at once, and on the disk when the call returns.
    const auto native = [](const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); };
    if (MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return qt_error_string(int(GetLastError()));
#else
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    return error ? QString::fromLocal8Bit(error.message()) : QString();
#endif
}

qint32 RecordFile::roundedCount(qint64 bytes, int recordLength)
{
    qint64 n = bytes / recordLength;
    const qint64 twiceRest = 2 * (bytes % recordLength);
    if (twiceRest > recordLength || (twiceRest == recordLength && n % 2 == 1))
        ++n;
    return static_cast<qint32>(qMin<qint64>(n, std::numeric_limits<qint32>::max()));
}

RecordFile::RecordFile(const QString& path, int recordLength, Mode mode)
    : m_path(path), m_length(recordLength), m_file(path)
{
    if (QFileInfo(path).isDir())
        throw FileError(path, QStringLiteral("opened"), QStringLiteral("There is a folder of that name."));
    if (mode == Mode::ReadWrite) {
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            fail(QStringLiteral("opened for writing"));
        return;
    }
    // A missing file is made, empty, where it can be, and holds no records;
    // one that is there is never emptied, and one that cannot be looked at is
    // an error, not an empty file.
    if (missing(path)) {
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            m_file.close();
        m_empty = true;
        return;
    }
    if (!m_file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("opened"));
}

RecordFile::~RecordFile()
{
    close();
}

void RecordFile::close()
{
    m_file.close();
}

void RecordFile::fail(const QString& action) const
{
    throw FileError(m_path, action, m_file.errorString());
}

qint64 RecordFile::byteSize() const
{
    return m_empty ? 0 : m_file.size();
}

qint32 RecordFile::count() const
{
    return roundedCount(byteSize(), m_length);
}

qint32 RecordFile::wholeCount() const
{
    return static_cast<qint32>(qMin<qint64>(byteSize() / m_length, std::numeric_limits<qint32>::max()));
}

QByteArray RecordFile::readRaw(qint32 n)
{
    QByteArray bytes(m_length, '\0');
    const qint64 pos = qint64(n - 1) * m_length;
    if (m_empty || n < 1)
        return bytes;
    // What lies past the end of the file, the whole record or its tail, is
    // left as zeros by the read.
    if (!m_file.seek(pos) || m_file.read(bytes.data(), m_length) < 0)
        fail(QStringLiteral("read"));
    return bytes;
}

void RecordFile::writeRaw(qint32 n, const QByteArray& bytes)
{
    Q_ASSERT(bytes.size() == m_length);
    if (n < 1)
        throw FileError(m_path, QStringLiteral("written"), QStringLiteral("There is no record %1.").arg(n));
    const qint64 oldSize = m_file.size();
    const qint64 pos = qint64(n - 1) * m_length;
    // What the write replaces, to put back should it fail.
    const QByteArray old = pos < oldSize ? readRaw(n).left(oldSize - pos) : QByteArray();
    const QString reason = put(pos, bytes);
    if (reason.isEmpty())
        return;
    FileError error(m_path, QStringLiteral("written"), reason);
    // Only once the file holds what it held is "nothing changed" true.
    if ((m_file.size() > oldSize && !m_file.resize(oldSize)) || (!old.isEmpty() && !put(pos, old).isEmpty()))
        error.mayHaveChanged();
    throw error;
}

QString RecordFile::put(qint64 pos, const QByteArray& bytes)
{
    if (pos > m_file.size() && !m_file.resize(pos)) // the gap reads back as zero bytes
        return m_file.errorString();
    if (!m_file.seek(pos))
        return m_file.errorString();
    if (m_file.write(bytes) != bytes.size())
        return partWritten(m_file);
    const QString unsynced = syncToDisk(m_file);
    if (!unsynced.isEmpty())
        return unsynced;
    return m_file.size() < pos + bytes.size() ? partWritten(m_file) : QString();
}

void RecordFile::scan(qint32 first, qint32 last, const std::function<bool(qint32, const char*)>& visit)
{
    constexpr qint64 kBlockBytes = 1 << 20;
    const qint32 perBlock = qint32(qMax<qint64>(1, kBlockBytes / m_length));
    QByteArray block;
    for (qint32 from = qMax(first, 1); from <= last; from += perBlock) {
        const qint32 records = qMin(perBlock, last - from + 1);
        block.fill('\0', qint64(records) * m_length);
        const qint64 pos = qint64(from - 1) * m_length;
        if (!m_empty) { // past the end of the file the read leaves zeros
            if (!m_file.seek(pos) || m_file.read(block.data(), block.size()) < 0)
                fail(QStringLiteral("read"));
        }
        for (qint32 r = 0; r < records; ++r) {
            if (!visit(from + r, block.constData() + qint64(r) * m_length))
                return;
        }
    }
}
