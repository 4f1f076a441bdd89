// A record file of any bytes and length: opened, counted, read whole as each
// of the three record types, and an erase rewrite run over it.
#include "FuzzSupport.h"

#include "records/EraseRewrite.h"
#include "records/RecordFile.h"
#include "records/Records.h"

namespace {

template <typename R>
void readWhole(const QString& path)
{
    RecordFile file(path, R::Length, RecordFile::Mode::Read);
    const qint32 n = file.count();
    const qint32 whole = file.wholeCount();
    FUZZ_CHECK(whole <= n && n <= whole + 1);
    qint32 scanned = 0;
    file.scan(1, n, [&](qint32 i, const char* bytes) {
        const QByteArray raw = file.readRaw(i);
        FUZZ_CHECK(raw.size() == R::Length);
        FUZZ_CHECK(raw == QByteArray(bytes, R::Length));
        // Every byte of a record survives a read and a write unchanged.
        FUZZ_CHECK(R::fromBytes(raw).toBytes() == raw);
        ++scanned;
        return true;
    });
    FUZZ_CHECK(scanned == n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzFolder() + QStringLiteral("/data.dat");
    const QString temp = fuzzFolder() + QStringLiteral("/temp.dat");
    writeFile(path, bytes);
    readWhole<DoggieRecord>(path);
    readWhole<HealthRecord>(path);
    readWhole<JournalRecord>(path);

    // The erase rewrite with a record length and k taken from the input.
    const int length = size > 1 && data[1] % 2 ? HealthRecord::Length : 5;
    const qint32 n = RecordFile::roundedCount(bytes.size(), length);
    const qint32 k = size > 0 ? data[0] % (n + 3) - 1 : 0;
    eraseRecord(path, temp, length, k);
    const QByteArray after = readFile(path);
    if (k >= 1 && k < n)
        FUZZ_CHECK(after.size() == qint64(n) * length &&
                   after.mid((k - 1) * length, length) == QByteArray(length, '\0'));
    else if (k == n && n > 0)
        FUZZ_CHECK(after.size() == qint64(n - 1) * length);
    else
        FUZZ_CHECK(after == bytes); // nothing to erase: the file is left as it was
    FUZZ_CHECK(after.left(qMin<qint64>(after.size(), qint64(qMax(k - 1, 0)) * length)) ==
               bytes.left(qMin<qint64>(after.size(), qint64(qMax(k - 1, 0)) * length)));
    return 0;
}
