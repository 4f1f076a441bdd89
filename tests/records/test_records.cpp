#include "TestSupport.h"

#include "records/DoggieList.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/Records.h"
#include "records/SharedState.h"
#include "records/Win1252.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void codePage_everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = win1252::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(win1252::encode(text), all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x92), QChar(0x2019));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
        QCOMPARE(text.at(0xE9), QChar(0x00E9));
        QCOMPARE(text.at(0), QChar(u'\0'));
    }

    void codePage_unmappable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("greek") << QStringLiteral("\u03A9mega") << QByteArray("?mega");
        QTest::newRow("emoji is one character") << QStringLiteral("Rex \U0001F436!") << QByteArray("Rex ?!");
        QTest::newRow("c1 control without a byte") << QStringLiteral("a\u0080b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
        QTest::newRow("latin and quotes") << QStringLiteral("Caf\u00E9 \u201Cok\u201D \u20AC5")
                                          << QByteArray("Caf\xE9 \x93ok\x94 \x80"
                                                        "5");
    }
    void codePage_unmappable()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(win1252::encode(text), bytes);
    }

    void fixedText_fitsToWidth()
    {
        QCOMPARE(fixedtext::toField(QStringLiteral("Rex"), 40), QByteArray("Rex") + QByteArray(37, ' '));
        const QString long45 = QStringLiteral("A").repeated(20) + QStringLiteral("B").repeated(25);
        QCOMPARE(fixedtext::fit(long45, 40), long45.left(40));
        QCOMPARE(fixedtext::fit(QStringLiteral("\U0001F436\U0001F436"), 3), QStringLiteral("?? "));
        QCOMPARE(fixedtext::fit(QString(), 10), QString(10, u' '));
        QCOMPARE(fixedtext::trimSpaces(QStringLiteral("  a b \t ")), QStringLiteral("a b \t"));
        QVERIFY(!fixedtext::isBlank(QString(3, QChar(u'\0'))));
    }

    void layout_doggieMatchesHandLaidBytes()
    {
        DoggieRecord d;
        d.ID = 7;
        d.Name = QStringLiteral("Rex");
        d.Picture = QStringLiteral("C:\\dogs\\rex.jpg");
        const QByteArray bytes = d.toBytes();
        QCOMPARE(bytes.size(), 439);
        QCOMPARE(bytes, rawbytes::doggie(7, "Rex", "C:\\dogs\\rex.jpg"));
        QCOMPARE(bytes.mid(4, 40), QByteArray("Rex") + QByteArray(37, ' '));
        QCOMPARE(DoggieRecord::fromBytes(bytes).toBytes(), bytes);
        QCOMPARE(DoggieRecord::fromBytes(bytes).Name, fixedtext::fit(QStringLiteral("Rex"), 40));
    }

    void layout_healthAndJournal()
    {
        HealthRecord h;
        h.ID = 5;
        h.DoggieID = 3;
        h.DateGiven = QStringLiteral("5/12/2003");
        h.Vaccine = QStringLiteral("Rabies");
        QCOMPARE(h.toBytes(), rawbytes::health(5, 3, "5/12/2003", "Rabies"));
        QCOMPARE(HealthRecord::fromBytes(rawbytes::health(5, 3, "5/12/2003", "Rabies")).DateGiven,
                 QStringLiteral("5/12/2003 "));

        const QByteArray entry = "Walk\r\nPark";
        const JournalRecord j = JournalRecord::fromBytes(rawbytes::journal(-2, 70000, "7-4-2005", entry));
        QCOMPARE(j.ID, -2);
        QCOMPARE(j.DoggieID, 70000);
        QCOMPARE(j.Entry.left(10), QStringLiteral("Walk\r\nPark"));
        QCOMPARE(j.Entry.size(), 4096);
        QCOMPARE(j.toBytes(), rawbytes::journal(-2, 70000, "7-4-2005", entry));
    }

    void layout_erasedSlotReadsAsNul()
    {
        const HealthRecord h = HealthRecord::fromBytes(QByteArray(68, '\0'));
        QCOMPARE(h.ID, 0);
        QCOMPARE(h.DoggieID, 0);
        QCOMPARE(h.Vaccine, QString(50, QChar(u'\0')));
        QCOMPARE(h.toBytes(), QByteArray(68, '\0'));
    }

    void count_rounding_data()
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
    void count_rounding()
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

    void file_firstAppendCreatesTheFile()
    {
        DataFolder folder(false);
        const QString path = folder.path(files::Doggies);
        QVERIFY(!QFile::exists(path));
        DoggieRecord d;
        d.Name = QStringLiteral("Rex");
        {
            RecordFile file(path, DoggieRecord::Length);
            QCOMPARE(file.append(d), 1);
        }
        QCOMPARE(d.ID, 1);
        QCOMPARE(folder.read(files::Doggies), rawbytes::doggie(1, "Rex"));
    }

    void file_readsAndWritesBeyondTheEnd()
    {
        DataFolder folder(false);
        // One whole record and 40 bytes of a second one.
        const QByteArray first = rawbytes::health(1, 2, "1/1/2001", "Parvo");
        const QByteArray partial = rawbytes::health(2, 2, "2/2/2002", "Distemper").left(40);
        folder.write(files::Health, first + partial);
        RecordFile file(folder.path(files::Health), HealthRecord::Length);
        QCOMPARE(file.count(), 2);
        QCOMPARE(file.readRaw(1), first);
        QCOMPARE(file.readRaw(2), partial + QByteArray(28, '\0'));
        QCOMPARE(file.readRaw(9), QByteArray(68, '\0'));

        // Writing record 5 leaves records 3 and 4 as zero bytes.
        HealthRecord h;
        h.ID = 5;
        file.write(5, h);
        file.close();
        const QByteArray bytes = folder.read(files::Health);
        QCOMPARE(bytes.size(), 5 * 68);
        QCOMPARE(bytes.left(108), first + partial);
        QCOMPARE(bytes.mid(108, 4 * 68 - 108), QByteArray(4 * 68 - 108, '\0'));
        QCOMPARE(bytes.mid(4 * 68), h.toBytes());
    }

    void file_appendAfterPartialRecordUsesRoundedCount_data()
    {
        QTest::addColumn<int>("stray");
        QTest::addColumn<int>("number");
        QTest::newRow("10 stray bytes count for nothing") << 10 << 2;
        QTest::newRow("40 stray bytes are more than half a record") << 40 << 3;
    }
    void file_appendAfterPartialRecordUsesRoundedCount()
    {
        QFETCH(int, stray);
        QFETCH(int, number);
        DataFolder folder(false);
        folder.write(files::Health, rawbytes::health(1, 1, "a", "b") + QByteArray(stray, 'z'));
        RecordFile file(folder.path(files::Health), HealthRecord::Length);
        HealthRecord h;
        QCOMPARE(file.append(h), number);
        QCOMPARE(file.byteSize(), qint64(number * 68));
    }

    void file_failedWriteChangesNothing()
    {
        DataFolder folder(false);
        const QByteArray before = rawbytes::journal(1, 1, "1-1-2001", "first");
        folder.write(files::Journal, before);
        RecordFile file(folder.path(files::Journal), JournalRecord::Length);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limited = old;
        limited.rlim_cur = JournalRecord::Length + 1000; // the append can start but not finish
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        JournalRecord j;
        bool threw = false;
        try {
            file.append(j);
        } catch (const FileError& e) {
            threw = true;
            QVERIFY(e.message().contains(QStringLiteral("journal.dat")));
            QVERIFY(e.message().contains(QStringLiteral("written")));
        }
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(threw);
        file.close();
        QCOMPARE(folder.read(files::Journal), before);
    }

    void file_folderInTheWay()
    {
        DataFolder folder(false);
        QVERIFY(QDir(folder.folder()).mkdir(files::Doggies));
        QVERIFY_THROWS_EXCEPTION(FileError, RecordFile(folder.path(files::Doggies), DoggieRecord::Length));
        SharedState state(folder.folder());
        QVERIFY_THROWS_EXCEPTION(FileError, doggielist::load(state));
    }

    void list_showsEveryRecordInOrder()
    {
        DataFolder folder(false);
        folder.write(files::Doggies, rawbytes::doggie(1, "Bella") + QByteArray(439, '\0') +
                                         rawbytes::doggie(3, "  Max ") + rawbytes::doggie(4, "Rex"));
        SharedState state(folder.folder());
        QCOMPARE(doggielist::load(state),
                 QStringList({QStringLiteral("Bella"), QString(), QStringLiteral("Max"), QStringLiteral("Rex")}));
        QCOMPARE(state.DoggieRecord.ID, 4); // the working record holds the last record read
    }

    void list_missingFileIsCreatedEmpty()
    {
        DataFolder folder(false);
        SharedState state(folder.folder());
        QVERIFY(doggielist::load(state).isEmpty());
        QVERIFY(folder.exists(files::Doggies));
        QCOMPARE(folder.read(files::Doggies).size(), 0);
    }

    void lookup_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("recNo");
        QTest::newRow("Max") << 2 << QStringLiteral("Max") << true << 3;
        QTest::newRow("first of two Rex") << 1 << QStringLiteral("Rex") << true << 2;
        QTest::newRow("second of two Rex") << 4 << QStringLiteral("Rex") << true << 5;
        QTest::newRow("entry gone stale falls back to the name") << 2 << QStringLiteral("Rex") << true << 2;
        QTest::newRow("no such dog") << 0 << QStringLiteral("Fido") << false << 0;
        QTest::newRow("case matters") << 2 << QStringLiteral("max") << false << 0;
        QTest::newRow("empty entry changes nothing") << 3 << QString() << false << 99;
        QTest::newRow("blank entry changes nothing") << 3 << QStringLiteral("   ") << false << 99;
    }
    void lookup()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(bool, found);
        QFETCH(int, recNo);
        DataFolder folder(false);
        folder.write(files::Doggies, rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, "Rex") +
                                         rawbytes::doggie(3, "Max") + QByteArray(439, '\0') +
                                         rawbytes::doggie(5, "Rex"));
        SharedState state(folder.folder());
        state.DoggieRecNo = 99;
        QCOMPARE(doggielist::lookup(state, row, text), found);
        QCOMPARE(state.DoggieRecNo, recNo);
        if (found)
            QCOMPARE(fixedtext::trimSpaces(state.DoggieRecord.Name), text);
        else if (recNo == 0)
            QCOMPARE(state.DoggieRecord.ID, 5); // a failed scan leaves the last record
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
