#include "records/RecordFile.h"

#include "records/Disk.h"

#include <QLocale>

#include <filesystem>
#include <system_error>

namespace {

// Known not to be there: not merely hidden in a folder that cannot be read.
bool missing(const QString& path)
{
#ifdef Q_OS_WIN
    const std::filesystem::path name(path.toStdWString());
#else
    const std::filesystem::path name(QFile::encodeName(path).toStdString());
#endif
    std::error_code error;
    return std::filesystem::symlink_status(name, error).type() == std::filesystem::file_type::not_found;
}

} // namespace

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
    // A missing file is made, empty, where it can be, and holds no records;
    // one that is there is never emptied, and one that cannot be looked at is
    // an error, not an empty file.
    const bool writing = mode == Mode::ReadWrite;
    if (!writing && missing(path)) {
        if (disk::open(m_file, QIODevice::WriteOnly | QIODevice::NewOnly).isEmpty())
            m_file.close();
        m_empty = true;
        return;
    }
    const QString action = writing ? QStringLiteral("opened for writing") : QStringLiteral("opened");
    if (const QString why =
            disk::open(m_file, writing ? QIODevice::ReadWrite | QIODevice::Unbuffered : QIODevice::ReadOnly);
        !why.isEmpty())
        throw FileError(path, action, why);
    // Far more records than anyone keeps: a file made in error, or a damaged
    // one, which is left as it is rather than listed for minutes.
    if (const qint64 size = m_file.size(); size > qint64(MaxRecords) * m_length) {
        m_file.close();
        throw FileError(path, action,
                        QStringLiteral("It is %1 MB, room for more than the %2 records Pawfolio keeps in one file.")
                            .arg(QLocale().toString((size + (1 << 19)) >> 20), QLocale().toString(MaxRecords)));
    }
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
    throw FileError(m_path, action, disk::reasonOf(m_file));
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
    if (n > MaxRecords)
        throw FileError(
            m_path, QStringLiteral("written"),
            QStringLiteral("It holds the %1 records Pawfolio keeps in one file.").arg(QLocale().toString(MaxRecords)));
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
        return disk::partWritten(m_file);
    if (!m_file.seek(pos))
        return disk::reasonOf(m_file);
    if (const QString unwritten = disk::write(m_file, bytes.constData(), bytes.size()); !unwritten.isEmpty())
        return unwritten;
    if (const QString unsynced = disk::sync(m_file); !unsynced.isEmpty())
        return unsynced;
    return m_file.size() < pos + bytes.size() ? disk::partWritten(m_file) : QString();
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
