#include "records/EraseRewrite.h"

#include "records/Disk.h"
#include "records/FileError.h"
#include "records/RecordFile.h"
#include "records/Records.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kBlockRecords = 256;

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
            throw FileError(path, QStringLiteral("removed"), disk::reasonOf(m_file, QStringLiteral("It is in use.")));
        if (const QString why = disk::open(m_file, QIODevice::WriteOnly | QIODevice::NewOnly); !why.isEmpty())
            throw FileError(path, QStringLiteral("created"), why);
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
        if (m_failed.isEmpty())
            m_failed = disk::write(m_file, data, size);
        m_size += size;
    }
    // A write that the file system cut short must not replace anything: it
    // shows here, before the cut, which would fill it up again with zeros.
    void truncate(qint64 size)
    {
        if (m_failed.isEmpty() && (!m_file.flush() || m_file.size() != m_size || !m_file.resize(size)))
            m_failed = disk::partWritten(m_file);
        if (!m_failed.isEmpty())
            throw FileError(m_file.fileName(), QStringLiteral("written"), m_failed);
        m_size = size;
    }
    // Puts the whole file on the disk, then, as private and whose as
    // `target`, in its place in one rename, and the rename on the disk too.
    void replace(const QString& target)
    {
        const QString unsynced = disk::sync(m_file);
        if (!unsynced.isEmpty())
            throw FileError(m_file.fileName(), QStringLiteral("written"), unsynced);
        // A file of several names (hard links) keeps them all: the copy on
        // the disk is written over it, rather than put in the place of one.
        if (disk::linkCount(target) > 1)
            return copyInto(target);
        if (const QString why = disk::takeModeOf(m_file, target); !why.isEmpty())
            throw FileError(m_file.fileName(), QStringLiteral("given the owner and mode of ") + target, why);
        m_file.close(); // Windows renames no open file
        const QString unrenamed = disk::rename(m_file.fileName(), target);
        if (!unrenamed.isEmpty())
            throw FileError(target, QStringLiteral("replaced by its rewritten copy"), unrenamed);
        confirm(target, disk::syncFolder(target));
    }

private:
    // The erase is made, but whether it lasts only the disk can tell.
    static void confirm(const QString& target, const QString& unconfirmed)
    {
        if (!unconfirmed.isEmpty())
            throw FileError(target, QStringLiteral("put on the disk after its erase"),
                            QStringLiteral("The disk did not confirm the erase (%1).").arg(unconfirmed))
                .mayHaveChanged();
    }

    // Writes the copy over the file it was made from. Only erased records
    // differ between the two, so that a stop midway leaves each record as it
    // was or erased.
    void copyInto(const QString& target)
    {
        m_file.close();
        QFile copy(m_file.fileName());
        QFile data(target);
        QString why = disk::open(copy, QIODevice::ReadOnly);
        if (!why.isEmpty())
            throw FileError(copy.fileName(), QStringLiteral("read"), why);
        why = disk::open(data, QIODevice::ReadWrite);
        if (!why.isEmpty())
            throw FileError(target, QStringLiteral("opened for writing"), why);
        while (why.isEmpty() && !copy.atEnd()) {
            const QByteArray block = copy.read(1 << 20);
            why = block.isEmpty() ? disk::reasonOf(copy, QStringLiteral("It could not be read back."))
                                  : disk::write(data, block.constData(), block.size());
        }
        if (why.isEmpty() && !data.resize(m_size))
            why = disk::partWritten(data);
        if (why.isEmpty())
            why = disk::sync(data);
        if (!why.isEmpty())
            throw FileError(target, QStringLiteral("written"), why).mayHaveChanged();
    }

    QFile m_file;
    qint64 m_size = 0;
    QString m_failed; // the first write that failed
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
