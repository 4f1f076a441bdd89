#include "TestSupport.h"

#include "records/DateTest.h"
#include "records/DoggieErase.h"
#include "records/EraseRewrite.h"
#include "records/FixedText.h"
#include "records/RecordFile.h"
#include "records/Records.h"
#include "records/Win1252.h"
#include "reports/ReportBuilders.h"
#include "shell/SingleInstance.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    // Latin letters, quotes and the euro are the code page's own bytes; a
    // character it has not (a lone surrogate, an emoji, a C1 control) is one
    // "?". A field is cut or padded to its width.
    void codePage()
    {
        const QString text = u"Caf\u00E9 \u201Cok\u201D \u20AC\u0178 \u03A9 \U0001F436 a\u0080b "_s + QChar(0xD800);
        QCOMPARE(win1252::encode(text), QByteArray("Caf\xE9 \x93ok\x94 \x80\x9F ? ? a?b ?"));
        QCOMPARE(fixedtext::toField(text, 40), win1252::encode(text).leftJustified(40, ' '));
        QCOMPARE(fixedtext::toField(text, 2), QByteArray("Ca"));
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
        QTest::newRow("k n+1 erases nothing") << dogs << 4 << dogs << 3;
        QTest::newRow("only record") << dogs.left(439) << 1 << QByteArray() << 0;
        QTest::newRow("empty file") << QByteArray() << 1 << QByteArray() << 0;
        QTest::newRow("partial last record completed with zeros")
            << dogs.left(878 + 300) << 1 << zero + dogs.mid(439, 439) + dogs.mid(878, 300) + QByteArray(139, '\0') << 3;
        QByteArray many; // records straddle the copy's blocks: every byte must land
        for (int i = 1; i <= 600; ++i)
            many += rawbytes::doggie(i, QByteArray(i % 40, char('a' + i % 26)));
        QTest::newRow("many") << many << 300 << QByteArray(many).replace(299 * 439, 439, zero) << 600;
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
        const int syncs = folderSyncs;
        // The process's open files, where Linux shows them; under wine its own threads open and close files
        // of their own meanwhile, so none are counted there.
        const auto openFiles = [] {
            return kBeneathTheProgram ? QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::System)
                                      : QStringList();
        };
        const QStringList openBefore = openFiles();
        const auto last = eraseRecord(folder.path(files::Doggies), folder.path(files::Temp), DoggieRecord::Length, k);
        QVERIFY(!kBeneathTheProgram || folderSyncs > syncs || before == after); // the rename is on the disk on return
        QCOMPARE(folder.read(files::Doggies), after);
        const bool matched = k >= 1 && k <= RecordFile::roundedCount(before.size(), 439);
        QCOMPARE(folder.exists(files::Temp), !matched); // nothing erased, nothing copied
        QCOMPARE(last ? DoggieRecord::fromBytes(*last).ID : 0, lastCopiedId);
        QCOMPARE(last.has_value(), lastCopiedId != 0); // an empty file leaves the working record alone
        QCOMPARE(openFiles(), openBefore);
    }

    // The program's own scratch files are made afresh, never written through
    // a link. A data file that an erase rewrites stays as its person made it:
    // a link stays one (the file it names rewritten), a file of two names
    // keeps both, and each keeps its mode and, where it may be given, owner.
    void links()
    {
#ifdef Q_OS_WIN
        QSKIP("links, modes and owners on Windows need rights a test does not have");
#else
        DataFolder folder(false), elsewhere(false);
        elsewhere.write(files::Health, standard::health());
        folder.write(files::Doggies, standard::dogs());
        for (const QString& name : {files::Temp, files::Report, files::Health}) // temp.dat names a folder
            QFile::link(name == files::Temp ? elsewhere.folder() : elsewhere.path(files::Health), folder.path(name));
        const QByteArray dogs = QFile::encodeName(folder.path(files::Doggies));
        const QByteArray health = QFile::encodeName(elsewhere.path(files::Health));
        QVERIFY(::link(dogs, QFile::encodeName(elsewhere.path(u"dogs-too.dat"_s))) == 0);
        const bool root = ::geteuid() == 0;
        QVERIFY(::chmod(dogs, 0600) == 0 && ::chmod(health, 0640) == 0 && (!root || ::chown(dogs, 65534, 65534) == 0));
        const auto kept = [](const QByteArray& path) {
            struct stat st {};
            ::stat(path.constData(), &st);
            return std::tuple{st.st_mode & 07777, st.st_uid, st.st_nlink};
        };
        const auto dogsBefore = kept(dogs), healthBefore = kept(health);
        eraseRecord(folder.path(files::Doggies), folder.path(files::Temp), DoggieRecord::Length, 5);
        eraseRecord(folder.path(files::Health), folder.path(files::Temp), HealthRecord::Length, 2);
        QCOMPARE(kept(dogs), dogsBefore);
        QCOMPARE(kept(health), healthBefore);
        QCOMPARE(elsewhere.read(u"dogs-too.dat"_s), standard::dogs({1, 2, 3, 4}));
        SharedState state(folder.folder());
        BuildHealthReport(state);
        QCOMPARE(elsewhere.read(files::Health), standard::health({1, 0, 3, 4, 5, 6})); // no report written there
        QVERIFY(QFileInfo(folder.path(files::Health)).isSymLink());
        QVERIFY(!QFileInfo(folder.path(files::Report)).isSymLink());
        QCOMPARE(QDir(folder.folder()).entryList(QDir::Files | QDir::System),
                 QStringList({files::Doggies, files::Health, files::Report}));
        QCOMPARE(QDir(elsewhere.folder()).entryList(QDir::Files), QStringList({u"dogs-too.dat"_s, files::Health}));
        if (!root)
            QSKIP("an owner kept only where the test may give a file away, as root");
        QCOMPARE(std::get<1>(kept(dogs)), 65534u);
#endif
    }

    // Whatever stands at a record file's name, only a regular file of at most
    // a million records is opened, for reading or writing; anything else is
    // said at once, naming the file, and left as it is.
    void oddFiles_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("said");
#ifdef Q_OS_WIN
        QSKIP("Windows keeps no pipes or devices among files");
#endif
        QTest::newRow("a pipe") << u"pipe"_s << u"It is a named pipe, not a file Pawfolio can use."_s;
        QTest::newRow("a link to a pipe") << u"/pipe"_s << u"It is a named pipe, not a file"_s;
        QTest::newRow("a link to /dev/zero") << u"/dev/zero"_s << u"It is a device, not a file"_s;
        QTest::newRow("a link to /dev/null") << u"/dev/null"_s << u"It is a device, not a file"_s;
    }
    void oddFiles()
    {
#ifndef Q_OS_WIN
        QFETCH(QString, make);
        QFETCH(QString, said);
        Session s; // for the lock's start and its message
        const DataFolder elsewhere(false);
        ::alarm(20); // an open that waits for good ends the test
        const auto noAlarm = qScopeGuard([] { ::alarm(0); });
        ::mkfifo(QFile::encodeName(elsewhere.path(u"pipe"_s)).constData(), 0600);
        for (auto [name, length] : {std::pair{files::Doggies, DoggieRecord::Length},
                                    {files::Health, HealthRecord::Length},
                                    {files::Journal, JournalRecord::Length},
                                    { u"pawfolio.lock"_s,
                                      0 }}) {
            const QString path = s.folder.path(name);
            QFile::remove(path);
            if (make == u"pipe")
                ::mkfifo(QFile::encodeName(path).constData(), 0600);
            else
                QFile::link(make.startsWith(u"/dev") ? make : elsewhere.path(make.mid(1)), path);
            const QFileInfo before(path);
            QStringList messages;
            if (length == 0 && !SingleInstance(s.folder.folder()).start()) // the lock: the start ends
                messages << s.prompts->shown.last().text;
            for (const auto mode : {RecordFile::Mode::Read, RecordFile::Mode::ReadWrite}) {
                try {
                    if (length > 0) {
                        const RecordFile file(path, length, mode);
                        messages << u"opened "_s + name;
                    }
                } catch (const FileError& error) {
                    messages << error.message();
                }
            }
            QCOMPARE(messages.size(), length == 0 ? 1 : 2);
            for (const QString& message : messages)
                QVERIFY2(message.contains(said) && message.contains(path), qPrintable(message));
            const QFileInfo after(path);
            QVERIFY(after.size() == before.size() && after.isSymLink() == before.isSymLink() &&
                    after.isFile() == before.isFile());
        }
#endif
    }

    // A rename that the disk does not confirm is no erase to report as done,
    // whether the program's call fails or the system's beneath it; a file
    // system that keeps no folder of its own (EINVAL) has nothing to confirm.
    void unconfirmedErase()
    {
        DataFolder folder(false);
        const auto reset = qScopeGuard([] { failingDisk = {}, folderSyncError = 0; });
        for (const int beneath : kBeneathTheProgram ? QList<int>{0, EIO, EINVAL} : QList<int>{0}) {
            folder.write(files::Health, standard::health());
            failingDisk.failingFolderSync = beneath == 0;
            folderSyncError = beneath;
            QString said;
            try {
                eraseRecord(folder.path(files::Health), folder.path(files::Temp), HealthRecord::Length, 2);
            } catch (const FileError& error) {
                said = error.message();
            }
            QVERIFY2(said.contains(u"could not be put on the disk after its erase.\n\nReason: The disk did not "
                                   "confirm the erase (Input/output error).\n\nThe record may have") ==
                         (beneath != EINVAL),
                     qPrintable(said));
            QCOMPARE(folder.read(files::Health), standard::health({1, 0, 3, 4, 5, 6}));
        }
    }

    // A dog erase stopped at any of its three rewrites (as by a kill) is
    // finished by the next start, which says so once, and leaves the files
    // as an erase never stopped leaves them. A note that is not one the
    // program wrote is removed with a warning.
    void interruptedDogErase_data()
    {
        QTest::addColumn<QString>("stopAt");
        for (const QString& file : {files::Health, files::Journal, files::Doggies})
            QTest::addRow("at %s", qPrintable(file)) << file;
    }
    void interruptedDogErase()
    {
        QFETCH(QString, stopAt);
        Session s, uninterrupted; // on the standard records
        const DataFolder& folder = s.folder;
        DoggieErase progress;
        eraseDoggie(uninterrupted.state, 3, u"Max"_s, progress);
        SharedState& state = s.state;
        failingDisk = {.failingRename = true, .stops = true, .on = {stopAt}};
        const auto reset = qScopeGuard([] { failingDisk = {}; });
        QVERIFY_THROWS_EXCEPTION(Stopped, eraseDoggie(state, 3, u"Max"_s, progress));
        failingDisk = {};
        QCOMPARE(folder.read(files::EraseNote).contains("\ndone health.dat\n"), stopAt != files::Health);
        QVERIFY(folder.read(files::Doggies) != uninterrupted.folder.read(files::Doggies));
        QCOMPARE(finishInterruptedErase(state),
                 u"Pawfolio was stopped while it erased \"Max\". The erase has now been "
                 "finished: the doggie, its vaccinations and its journal entries are gone."_s);
        for (const QString& file : {files::Doggies, files::Health, files::Journal})
            QCOMPARE(folder.read(file), uninterrupted.folder.read(file));
        QCOMPARE(QDir(folder.folder()).entryList(QDir::Files),
                 QDir(uninterrupted.folder.folder()).entryList(QDir::Files));
        QCOMPARE(finishInterruptedErase(state), QString()); // once
        for (const char* note : {"doggie 3\n", "Pawfolio is erasing a doggie\ndoggie 0\nname \n"}) {
            folder.write(files::EraseNote, note);
            QVERIFY(finishInterruptedErase(state).contains(u"could not be read, and was removed"));
            QVERIFY(!folder.exists(files::EraseNote));
            QCOMPARE(folder.read(files::Doggies), uninterrupted.folder.read(files::Doggies));
        }
    }

    void isDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("date");
        const QString dates = QStringLiteral(
            "5/12/2003|5-12-2003|2003-05-12|13/5/2003|5/12/03|5/12|July 4, 2005|4 Jul 2005|4-Jul-2005|  5/12/2003  |"
            "000000005/12/2003|JULY 4 2005|jul 2005|5/2003|2003/5|2/29/2004|12/31/9999|1/1/100|1/1/0|5/12/2003 10:30 "
            "PM|"
            "5/12/2003 22:15:05|5/12/2003 9 am|December 25|2005, July 4|31/12/99|2/30|4 Jul|1/2/2003 23:59:59|"
            "12/31|31/12|1/32|32/1|12/9999|9999/12|2/29/2000|2/29/00|12/31/29|1/1/30|September 30, 2004|7-4-2005|"
            "07-04-2005|12-25-2005|1-1-1000|September 2005|2005 September|November 30");
        const QString notDates = QStringLiteral(
            "abc|5/12/2003x|2003|2/29/2003|32/1/2003|5.12.2003||   |10:30|10:30 PM|5/12/2003 25:00|5/12/2003 10:61|"
            "5//12|/5/12|5/12/|5/12/2003/1|1/1/10000|Sept 4 2005|4 July July 2005|Mon 5/12/2003|5/12/2003 10:30 XM|"
            "5/12/2003 10:30 -|13/13/2003|0/0/0|Feb 30 2005|5\u200B/12/2003|\u0665/12/2003|99999999999/1/1|"
            "5/12/1234567890|5/12/2003 0 AM|5/12/2003 10:30:|4294967296/1/1|5/12/2003 1:02:03:04|13/13|32/32|"
            "0/0|2/29/1900|12/10000");
        for (const QString& d : dates.split(u'|'))
            QTest::addRow("date: %s", qPrintable(d)) << d << true;
        for (const QString& d : notDates.split(u'|'))
            QTest::addRow("not: %s", qPrintable(d)) << d << false;
    }
    void isDate()
    {
        QFETCH(QString, text);
        QFETCH(bool, date);
        QCOMPARE(::isDate(text, QDate(2026, 12, 6)), date);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
