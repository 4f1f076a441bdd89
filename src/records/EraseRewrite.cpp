#include "records/EraseRewrite.h"

#include "records/FileError.h"
#include "records/RecordFile.h"
#include "records/Records.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kBlockRecords = 256;

// Windows has no folder to sync: there the rename is left to the file system.
void syncFolder([[maybe_unused]] const QString& filePath)
{
#ifndef Q_OS_WIN
    // The rename itself reaches the disk only with its folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// temp.dat while it is being written: removed again unless it was put in place.
class TempFile {
public:
    explicit TempFile(const QString& path) : m_file(path)
    {
        // Made afresh and for this erase alone: one left over goes first, and
        // a link there is removed itself, never written through.
        const QFileInfo there(path);
        if (there.isDir() && !there.isSymLink())
            throw FileError(path, QStringLiteral("created"), QStringLiteral("There is a folder of that name."));
        if ((there.exists() || there.isSymLink()) && !m_file.remove())
            throw FileError(path, QStringLiteral("removed"), m_file.errorString());
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw FileError(path, QStringLiteral("created"), m_file.errorString());
    }
    ~TempFile()
    {
        m_file.close();                   // Windows removes no open file
        QFile::remove(m_file.fileName()); // there still unless it was put in place
    }
    // A write that falls short, now or when the buffer goes out, shows at
    // truncate(), which compares the file's size with what was written.
    void write(const char* data, qint64 size)
    {
        m_file.write(data, size);
        m_size += size;
    }
    // A write that the file system cut short must not replace anything: it
    // shows here, before the cut, which would fill it up again with zeros.
    void truncate(qint64 size)
    {
        if (!m_file.flush() || m_file.size() != m_size || !m_file.resize(size))
            fail();
        m_size = size;
    }
    // Puts the whole file on the disk, then in place of `target` in one rename.
    void replace(const QString& target)
    {
        const QString unsynced = syncToDisk(m_file);
        if (!unsynced.isEmpty())
            throw FileError(m_file.fileName(), QStringLiteral("written"), unsynced);
        m_file.close(); // Windows renames no open file
        const QString unrenamed = renameOver(m_file.fileName(), target);
        if (!unrenamed.isEmpty())
            throw FileError(target, QStringLiteral("replaced by its rewritten copy"), unrenamed);
        syncFolder(target);
    }

private:
    [[noreturn]] void fail() { throw FileError(m_file.fileName(), QStringLiteral("written"), partWritten(m_file)); }

    QFile m_file;
    qint64 m_size = 0;
};

} // namespace

std::optional<QByteArray> eraseMatching(const QString& dataPath, const QString& tempPath, int recordLength,
                                        const std::function<bool(qint32, const char*)>& erase, bool* erased)
{
    RecordFile data(dataPath, recordLength, RecordFile::Mode::Read);
    const qint32 n = data.count();
    // Erasing a dog often finds none of its records in one file or another:
    // then that file is only read, never copied.
    qint32 firstErased = 0;
    data.scan(1, n, [&](qint32 number, const char* record) {
        firstErased = erase(number, record) ? number : 0;
        return firstErased == 0;
    });
    if (erased)
        *erased = firstErased != 0;
    if (firstErased == 0)
        return n > 0 ? std::optional<QByteArray>(data.readRaw(n)) : std::nullopt;

    // A data file that is a link stays one: the file it names (there now, the
    // open above made it) is rewritten, beside itself, so that the rename
    // stays on its disk.
    const QFileInfo info(dataPath);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : dataPath;
    TempFile temp(target == dataPath ? tempPath : target + QStringLiteral(".temp"));
    // Copied in large blocks; an erased record is written as zeros, and a last
    // record cut short by the end of the file is completed with zeros.
    qint32 lastKept = 0;
    QByteArray block;
    data.scan(1, n, [&](qint32 number, const char* record) {
        if (erase(number, record)) {
            block.append(recordLength, '\0');
        } else {
            block.append(record, recordLength);
            lastKept = number;
        }
        if (block.size() >= kBlockRecords * recordLength) {
            temp.write(block.constData(), block.size());
            block.clear();
        }
        return true;
    });
    temp.write(block.constData(), block.size());
    const std::optional<QByteArray> last =
        lastKept > 0 ? std::optional<QByteArray>(data.readRaw(lastKept)) : std::nullopt;
    data.close(); // Windows replaces no open file

    // Every record after the last one kept was erased now: those are cut off.
    // Erased slots from before are records like any other and stay.
    temp.truncate(qint64(lastKept) * recordLength);
    temp.replace(target);
    return last;
}

std::optional<QByteArray> eraseRecord(const QString& dataPath, const QString& tempPath, int recordLength, qint32 k)
{
    return eraseMatching(dataPath, tempPath, recordLength, [k](qint32 number, const char*) { return number == k; });
}

std::function<bool(qint32, const char*)> ofDoggie(qint32 doggieId)
{
    return [doggieId](qint32, const char* record) { return readInt32(record, DoggieIdOffset) == doggieId; };
}
