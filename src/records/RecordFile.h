#pragma once

#include "records/FileError.h"
#include "records/Records.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

// A file of fixed-length records, numbered from 1, with no header. This is the
// only code that touches the .dat files. Every write reaches the disk before
// it returns; a failed write leaves the file as it was.
class RecordFile {
public:
    enum class Mode { Read, ReadWrite };

    // The most records one file may hold: a million, far more than any
    // person's dogs, vaccinations or journal entries. A larger file is never
    // opened, and no record is written beyond it.
    static constexpr qint32 MaxRecords = 1000000;

    // A missing file is created empty. In Read mode a missing file that cannot
    // be created (a read-only folder) simply reads as empty. Only a regular
    // file of at most MaxRecords records is opened.
    RecordFile(const QString& path, int recordLength, Mode mode = Mode::ReadWrite);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    qint64 byteSize() const;

    // File length / L, rounded to the nearest whole number, halves to even.
    qint32 count() const;
    // File length / L, rounded down: the whole records only.
    qint32 wholeCount() const;

    // Record n; whatever lies beyond the end of the file reads as zero bytes.
    QByteArray readRaw(qint32 n);
    // Writes at record n; a gap before it reads back as zero bytes.
    void writeRaw(qint32 n, const QByteArray& bytes);

    template <typename R>
    R read(qint32 n)
    {
        return R::fromBytes(readRaw(n));
    }
    template <typename R>
    void write(qint32 n, const R& record)
    {
        writeRaw(n, record.toBytes());
    }
    // Writes the record as number count + 1 with that number as its ID.
    template <typename R>
    qint32 append(R& record)
    {
        const qint32 n = count() + 1;
        record.ID = n;
        write(n, record);
        return n;
    }

    // Hands records first to last, read in large blocks, to `visit` with
    // their number and bytes (zeros beyond the end of the file); stops early
    // when `visit` returns false.
    void scan(qint32 first, qint32 last, const std::function<bool(qint32, const char*)>& visit);

    // Hands each record of dog `doggieId` among records 1 to `last` to
    // `visit` (number, record), in file order, until `visit` returns false.
    // Only those records are decoded. Afterwards `working` holds the last
    // record read: the one `visit` stopped at, or else record `last`.
    template <typename R, typename Visit>
    void scanDoggie(qint32 last, qint32 doggieId, R& working, Visit visit)
    {
        scan(1, last, [&](qint32 i, const char* bytes) {
            const bool mine = readInt32(bytes, DoggieIdOffset) == doggieId;
            if (!mine && i != last)
                return true;
            const R record = R::fromBytes(QByteArray::fromRawData(bytes, R::Length));
            const bool goOn = !mine || visit(i, record);
            if (!goOn || i == last)
                working = record;
            return goOn;
        });
    }

    // The record a listed row stands for: record `listed` while it still
    // `matches`, else (the file changed since it was listed) the first record
    // of dog `doggieId` among 1 to `last` that does. Its number, 0 for none;
    // `found` holds it.
    template <typename R, typename Match>
    qint32 listedRecord(qint32 listed, qint32 last, qint32 doggieId, Match matches, R& found)
    {
        if (listed > 0 && matches(found = read<R>(listed)))
            return listed;
        qint32 number = 0;
        R scratch;
        scanDoggie(last, doggieId, scratch, [&](qint32 i, const R& record) {
            if (!matches(record))
                return true;
            number = i;
            found = record;
            return false;
        });
        return number;
    }

    void close();

    // Rounds a byte length to a record count, halves to even.
    static qint32 roundedCount(qint64 bytes, int recordLength);

private:
    [[noreturn]] void fail(const QString& action) const;
    // Writes `bytes` at `pos` and puts them on the disk; empty when done, else
    // why not.
    QString put(qint64 pos, const QByteArray& bytes);

    QString m_path;
    int m_length;
    QFile m_file;
    bool m_empty = false; // Read mode over a missing file that could not be created
};
