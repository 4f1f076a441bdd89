#include "TestSupport.h"

#include "records/EraseRewrite.h"
#include "records/FileError.h"
#include "records/Records.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray threeDogs()
{
    return rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, "Rex") + rawbytes::doggie(3, "Max");
}

} // namespace

class TestErase : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void erase_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("k");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("lastCopiedId"); // 0: nothing copied
        const QByteArray dogs = threeDogs();
        const QByteArray zero(439, '\0');
        QTest::newRow("middle leaves an erased slot")
            << dogs << 2 << rawbytes::doggie(1, "Bella") + zero + rawbytes::doggie(3, "Max") << 3;
        QTest::newRow("first leaves an erased slot") << dogs << 1 << zero + dogs.mid(439) << 3;
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
        const auto last = eraseRecord(folder.path(files::Doggies), folder.path(files::Temp), DoggieRecord::Length, k);
        QCOMPARE(folder.read(files::Doggies), after);
        QVERIFY(!folder.exists(files::Temp));
        QCOMPARE(last.has_value(), lastCopiedId != 0);
        if (last)
            QCOMPARE(DoggieRecord::fromBytes(*last).ID, lastCopiedId);
    }

    void erase_leftoverTempDoesNotLeakIn()
    {
        DataFolder folder(false);
        folder.write(files::Health, rawbytes::health(1, 1, "a", "b") + rawbytes::health(2, 1, "c", "d"));
        folder.write(files::Temp, QByteArray(68 * 10, 'X')); // left by an interrupted erase
        eraseRecord(folder.path(files::Health), folder.path(files::Temp), HealthRecord::Length, 2);
        QCOMPARE(folder.read(files::Health), rawbytes::health(1, 1, "a", "b"));
    }

    void erase_largeFileAcrossBlocks()
    {
        // Records straddle the copy's block boundaries: every byte must land.
        DataFolder folder(false);
        QByteArray journal;
        for (int i = 1; i <= 600; ++i)
            journal += rawbytes::journal(i, i % 7, QByteArray::number(i), QByteArray(i % 50, 'a' + i % 26));
        folder.write(files::Journal, journal);
        eraseRecord(folder.path(files::Journal), folder.path(files::Temp), JournalRecord::Length, 300);
        QByteArray expected = journal;
        expected.replace(299 * 4114, 4114, QByteArray(4114, '\0'));
        QCOMPARE(folder.read(files::Journal), expected);
    }

    void erase_folderInPlaceOfTemp()
    {
        DataFolder folder(false);
        folder.write(files::Doggies, threeDogs());
        QVERIFY(QDir(folder.folder()).mkdir(files::Temp));
        try {
            eraseRecord(folder.path(files::Doggies), folder.path(files::Temp), DoggieRecord::Length, 2);
            QFAIL("the erase should have failed");
        } catch (const FileError& e) {
            QVERIFY(e.message().contains(QStringLiteral("temp.dat")));
        }
        QCOMPARE(folder.read(files::Doggies), threeDogs());
    }

    void erase_diskFullKeepsTheDataFile()
    {
        DataFolder folder(false);
        QByteArray journal;
        for (int i = 1; i <= 40; ++i)
            journal += rawbytes::journal(i, 1, "1-1-2001", "entry");
        folder.write(files::Journal, journal);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limited = old;
        limited.rlim_cur = 20 * 4114; // temp.dat cannot be written whole
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        bool threw = false;
        try {
            eraseRecord(folder.path(files::Journal), folder.path(files::Temp), JournalRecord::Length, 5);
        } catch (const FileError&) {
            threw = true;
        }
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(threw);
        QCOMPARE(folder.read(files::Journal), journal);
        QVERIFY(!folder.exists(files::Temp));
    }

    void erase_readOnlyFolder()
    {
        // Root writes anywhere, so the erase runs in a child that gives up root.
        DataFolder folder(false);
        folder.write(files::Doggies, threeDogs());
        QCOMPARE(::chmod(QFile::encodeName(folder.folder()).constData(), 0555), 0);
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(3);
            try {
                eraseRecord(folder.path(files::Doggies), folder.path(files::Temp), DoggieRecord::Length, 2);
            } catch (const FileError& e) {
                _exit(e.message().contains(QStringLiteral("temp.dat")) ? 0 : 2);
            }
            _exit(1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ::chmod(QFile::encodeName(folder.folder()).constData(), 0755);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(folder.read(files::Doggies), threeDogs());
    }
};

QTEST_GUILESS_MAIN(TestErase)
#include "test_erase.moc"
