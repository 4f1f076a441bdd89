#include "TestSupport.h"

#include "records/DoggieList.h"
#include "records/EraseRewrite.h"
#include "records/FileError.h"
#include "records/RecordFile.h"
#include "records/Records.h"
#include "records/Win1252.h"

#include <QElapsedTimer>
#include <QTest>

#include <csignal>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs `work` in a child process that gives up root, who writes anywhere;
// true when it threw FileError there.
bool throwsAsUser(const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        try {
            work();
        } catch (const FileError&) {
            _exit(0);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs `work` in a child process and kills it `delayUs` microseconds later,
// unless it finished before. Returns how long the child ran, in microseconds.
long killDuring(const std::function<void()>& work, long delayUs)
{
    QElapsedTimer t;
    t.start();
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    for (long now = 0; now < delayUs; now = long(t.nsecsElapsed() / 1000)) {
        if (waitpid(child, &status, WNOHANG) == child)
            return now;
        usleep(useconds_t(qMin(delayUs - now, 50L)));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return long(t.nsecsElapsed() / 1000);
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:

    void codePage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("greek") << QStringLiteral("\u03A9mega") << QByteArray("?mega");
        QTest::newRow("emoji is one character") << QStringLiteral("Rex \U0001F436!") << QByteArray("Rex ?!");
        QTest::newRow("c1 control without a byte") << QStringLiteral("a\u0080b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
        QTest::newRow("latin, quotes, euro")
            << QStringLiteral("Caf\u00E9 \u201Cok\u201D \u20AC\u0178") << QByteArray("Caf\xE9 \x93ok\x94 \x80\x9F");
    }
    void codePage()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(win1252::encode(text), bytes);
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(win1252::encode(win1252::decode(all)), all); // every byte round-trips
        QCOMPARE(win1252::decode(all).size(), 256);
    }

    void count_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("rounded");
        QTest::addColumn<int>("whole");
        QTest::newRow("empty") << qint64(0) << 439 << 0 << 0;
        QTest::newRow("one") << qint64(439) << 439 << 1 << 1;
        QTest::newRow("under half") << qint64(2 * 439 + 219) << 439 << 2 << 2;
        QTest::newRow("over half") << qint64(2 * 439 + 220) << 439 << 3 << 2;
        QTest::newRow("half to even 0") << qint64(34) << 68 << 0 << 0;
        QTest::newRow("half to even 2 from 1") << qint64(68 + 34) << 68 << 2 << 1;
        QTest::newRow("half to even 2 stays") << qint64(136 + 34) << 68 << 2 << 2;
    }
    void count()
    {
        QFETCH(qint64, bytes);
        QFETCH(int, length);
        QFETCH(int, rounded);
        QFETCH(int, whole);
        DataFolder folder(false);
        folder.write(QStringLiteral("x.dat"), QByteArray(bytes, 'a'));
        RecordFile file(folder.path(QStringLiteral("x.dat")), length);
        QCOMPARE(file.count(), rounded);
        QCOMPARE(file.wholeCount(), whole);
    }

    // Reads past the end are zero bytes; a write past it leaves zero records
    // between; an append goes after the rounded count of records.
    void recordFile_data()
    {
        QTest::addColumn<int>("stray");
        QTest::addColumn<int>("number");
        QTest::newRow("10 stray bytes count for nothing") << 10 << 2;
        QTest::newRow("40 stray bytes are more than half a record") << 40 << 3;
    }
    void recordFile()
    {
        QFETCH(int, stray);
        QFETCH(int, number);
        DataFolder folder(false);
        const QByteArray first = standard::vaccination(1);
        folder.write(files::Health, first + QByteArray(stray, 'z'));
        {
            RecordFile file(folder.path(files::Health), HealthRecord::Length);
            QCOMPARE(file.readRaw(2), QByteArray(stray, 'z') + QByteArray(68 - stray, '\0'));
            QCOMPARE(file.readRaw(9), QByteArray(68, '\0'));
            HealthRecord h;
            QCOMPARE(file.append(h), number);
            QCOMPARE(h.ID, number);
            file.write(number + 2, h);
        }
        const QByteArray bytes = folder.read(files::Health);
        const QByteArray added = rawbytes::health(number, 0, "", "");
        QCOMPARE(bytes.size(), (number + 2) * 68);
        QCOMPARE(bytes.left(68), first);
        QCOMPARE(bytes.mid((number - 1) * 68), added + QByteArray(68, '\0') + added);

        DataFolder empty(false); // the first append creates the file
        {
            RecordFile file(empty.path(files::Doggies), DoggieRecord::Length);
            DoggieRecord d;
            d.Name = QStringLiteral("Rex");
            QCOMPARE(file.append(d), 1);
        }
        QCOMPARE(empty.read(files::Doggies), rawbytes::doggie(1, "Rex"));
    }

    void lookup_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("recNo"); // 99: unchanged
        QTest::newRow("Max") << 2 << QStringLiteral("Max") << 3;
        QTest::newRow("first of two Rex") << 1 << QStringLiteral("Rex") << 2;
        QTest::newRow("second of two Rex") << 4 << QStringLiteral("Rex") << 5;
        QTest::newRow("entry gone stale falls back to the name") << 2 << QStringLiteral("Rex") << 2;
        QTest::newRow("no such dog") << 0 << QStringLiteral("Fido") << 0;
        QTest::newRow("case matters") << 2 << QStringLiteral("max") << 0;
        QTest::newRow("empty entry changes nothing") << 3 << QString() << 99;
        QTest::newRow("blank entry changes nothing") << 3 << QStringLiteral("   ") << 99;
    }
    void lookup()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, recNo);
        DataFolder folder(false);
        folder.write(files::Doggies, standard::dogs({1, 2, 3, 0}) + rawbytes::doggie(5, "Rex"));
        SharedState state(folder.folder());
        state.DoggieRecNo = 99;
        QCOMPARE(doggielist::lookup(state, row, text), recNo != 0 && recNo != 99);
        QCOMPARE(state.DoggieRecNo, recNo);
        if (recNo != 99) // found, or the failed scan left the last record
            QCOMPARE(state.DoggieRecord.ID, recNo ? recNo : 5);
    }

    void erase_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("k");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("lastCopiedId"); // 0: nothing copied
        const QByteArray dogs = standard::dogs({1, 2, 3});
        const QByteArray zero(439, '\0');
        QTest::newRow("middle leaves an erased slot") << dogs << 2 << standard::dogs({1, 0, 3}) << 3;
        QTest::newRow("first leaves an erased slot") << dogs << 1 << standard::dogs({0, 2, 3}) << 3;
        QTest::newRow("last shortens the file") << dogs << 3 << dogs.left(878) << 2;
        QTest::newRow("k 0 rewrites unchanged") << dogs << 0 << dogs << 3;
        QTest::newRow("k n+1 erases nothing") << dogs << 4 << dogs << 3;
        QTest::newRow("k far beyond adds nothing") << dogs << 9 << dogs << 3;
        QTest::newRow("negative k erases nothing") << dogs << -1 << dogs << 3;
        QTest::newRow("erased slot again") << zero + dogs.mid(439) << 1 << zero + dogs.mid(439) << 3;
        QTest::newRow("only record") << dogs.left(439) << 1 << QByteArray() << 0;
        QTest::newRow("empty file") << QByteArray() << 1 << QByteArray() << 0;
        QTest::newRow("partial last record completed with zeros")
            << dogs.left(878 + 300) << 1 << zero + dogs.mid(439, 439) + dogs.mid(878, 300) + QByteArray(139, '\0') << 3;
    }
    void erase()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, k);
        QFETCH(QByteArray, after);
        QFETCH(int, lastCopiedId);
        DataFolder folder(false);
        folder.write(files::Doggies, before);
        folder.write(files::Temp, QByteArray(439 * 10, 'X')); // left by an interrupted erase: no part of it leaks in
        const auto last = eraseRecord(folder.path(files::Doggies), folder.path(files::Temp), DoggieRecord::Length, k);
        QCOMPARE(folder.read(files::Doggies), after);
        QVERIFY(!folder.exists(files::Temp));
        QCOMPARE(last ? DoggieRecord::fromBytes(*last).ID : 0, lastCopiedId);
    }

    // Records straddle the copy's blocks: every byte must land.
    void erase_largeFile()
    {
        DataFolder folder(false);
        QByteArray journal;
        for (int i = 1; i <= 600; ++i)
            journal += rawbytes::journal(i, i % 7, QByteArray::number(i), QByteArray(i % 50, 'a' + i % 26));
        folder.write(files::Journal, journal);
        eraseRecord(folder.path(files::Journal), folder.path(files::Temp), JournalRecord::Length, 300);
        QCOMPARE(folder.read(files::Journal), journal.replace(299 * 4114, 4114, QByteArray(4114, '\0')));
    }

    // A file or folder that may not be written: the append and the erase
    // throw, and the file stays as it was.
    void readOnly()
    {
        DataFolder folder(false);
        folder.write(files::Journal, standard::journal());
        QFile::setPermissions(folder.path(files::Journal), QFile::ReadOwner);
        QFile::setPermissions(folder.folder(), QFile::ReadOwner | QFile::ExeOwner);
        JournalRecord j;
        QVERIFY(throwsAsUser([&] { RecordFile(folder.path(files::Journal), JournalRecord::Length).append(j); }));
        QVERIFY(throwsAsUser([&] { eraseRecord(folder.path(files::Journal), folder.path(files::Temp), 4114, 2); }));
        QFile::setPermissions(folder.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(folder.read(files::Journal), standard::journal());
        QVERIFY(!folder.exists(files::Temp));
    }

    // Killed at moments drawn from a fixed seed (a failure names the round),
    // the erase rewrite leaves the old file or the new one; an append or a
    // write in place leaves every other record as it was.
    void killed_data()
    {
        QTest::addColumn<QString>("work");
        for (const char* work : {"erase rewrite", "append", "write in place"})
            QTest::newRow(work) << work;
    }
    void killed()
    {
        QFETCH(QString, work);
        constexpr unsigned kSeed = 20261206;
        constexpr qint64 kLength = JournalRecord::Length;
        DataFolder folder(false);
        const QString data = folder.path(files::Journal);
        std::mt19937 random(kSeed);
        QByteArray before(600 * kLength, '\0'); // 2.4 MB of journal
        for (char& b : before)
            b = char(random());
        QByteArray erased = before;
        erased.replace(299 * kLength, kLength, QByteArray(kLength, '\0'));
        const auto run = [&] {
            if (work == u"erase rewrite") {
                eraseRecord(data, folder.path(files::Temp), kLength, 300);
                return;
            }
            RecordFile file(data, kLength);
            JournalRecord j;
            j.Entry = QString(JournalRecord::EntryWidth, u'w');
            for (int i = 0; i < 20; ++i) // a run of writes, so that a kill lands in one
                work == u"append" ? void(file.append(j)) : file.write(250, j);
        };
        folder.write(files::Journal, before);
        const long full = killDuring(run, 10'000'000);
        int old = 0;
        for (int round = 0; round < 150; ++round) {
            folder.write(files::Journal, before);
            QFile::remove(folder.path(files::Temp));
            killDuring(run, long(random() % std::uint32_t(full * 3 / 2 + 1)));
            const QByteArray now = folder.read(files::Journal);
            const QString where = QStringLiteral("round %1").arg(round);
            if (work == u"erase rewrite") {
                QVERIFY2(now == before || now == erased, qPrintable(where));
                old += now == before;
            } else {
                const qint64 at = 249 * kLength;
                QVERIFY2(now.left(at) == before.left(at), qPrintable(where));
                QVERIFY2(now.mid(at + kLength, before.size() - at - kLength) == before.mid(at + kLength),
                         qPrintable(where));
                QVERIFY2(work == u"append" || now.size() == before.size(), qPrintable(where));
            }
        }
        qInfo("%s takes %ld us; of 150 kills, %d left the old file", qPrintable(work), full, old);
        QVERIFY(work != u"erase rewrite" || (old > 0 && old < 150)); // the kills did land during the rewrite
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
