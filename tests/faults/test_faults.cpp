#include "TestSupport.h"

#include "doggies/DogRegisterWindow.h"
#include "health/FlexGrid.h"
#include "health/HealthWindow.h"
#include "journal/JournalWindow.h"
#include "platform/PictureControl.h"
#include "reports/ReportViewer.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace {

enum class Fault { FolderInPlace, DiskFull, LyingDisk };

// One fault put on the file a command writes, taken away again when the object goes.
class FaultScope {
public:
    FaultScope(Fault fault, const DataFolder& folder, const QString& target) : m_folder(folder), m_target(target)
    {
        getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit limited = m_limit;
        limited.rlim_cur = rlim_t(qMax<qint64>(1, QFileInfo(folder.path(target)).size() - 1));
        if (fault == Fault::DiskFull)
            setrlimit(RLIMIT_FSIZE, &limited);
        lyingDisk = fault == Fault::LyingDisk;
        if (fault == Fault::FolderInPlace) {
            QFile::rename(folder.path(target), folder.path(QStringLiteral("aside")));
            QDir(folder.folder()).mkdir(target);
        }
    }
    ~FaultScope()
    {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        lyingDisk = false;
        if (QDir(m_folder.folder()).rmdir(m_target))
            QFile::rename(m_folder.path(QStringLiteral("aside")), m_folder.path(m_target));
    }

private:
    const DataFolder& m_folder;
    QString m_target;
    rlimit m_limit{};
};

QMap<QString, QByteArray> snapshot(const DataFolder& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder.folder()).entryList({QStringLiteral("*.dat"), QStringLiteral("*.txt")}))
        files[name] = folder.read(name);
    return files;
}

QByteArray garbage(qsizetype size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(random());
    return bytes;
}

// A GIF that claims 20000 x 20000 pixels in a few bytes.
const QByteArray kHugeGif = QByteArray("GIF89a\x20\x4E\x20\x4E\x80\x00\x00"
                                       "\x00\x00\x00\xFF\xFF\xFF"
                                       "\x2C\x00\x00\x00\x00\x20\x4E\x20\x4E\x00"
                                       "\x02\x02\x44\x01\x00\x3B",
                                       35);

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    // A command readied up to its last click; the click fails on a fault put
    // on the file it writes: nothing changes but what the message says, and
    // with the fault gone the same click does the work.
    void failedWrite_changesNothing_data()
    {
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("erasedBefore"); // a file a dog erase rewrote before the target
        QTest::addColumn<Fault>("fault");
        const QString nothing = QStringLiteral("Nothing was changed");
        auto add = [](const char* name, const char* prepare, const char* commit, const QString& target,
                      const QString& outcome, const QString& erasedBefore = {}) {
            const std::pair<Fault, const char*> faults[] = {{Fault::FolderInPlace, "a folder in place of the file"},
                                                            {Fault::DiskFull, "disk full"},
                                                            {Fault::LyingDisk, "a disk that keeps part of a write"}};
            for (const auto& [fault, what] : faults) {
                // An edit in place grows no file, and a disk that lies about it cannot be caught.
                if (fault != Fault::FolderInPlace && (QByteArray(name).contains("edit") || target == files::Temp ||
                                                      QByteArray(name).startsWith("dog erase,")))
                    continue;
                QTest::addRow("%s, %s", name, what) << prepare << commit << target << outcome << erasedBefore << fault;
            }
        };
        add("dog add", "go dogs; click imgAdd; type txtName Lucky", "click imgAdd", files::Doggies, nothing);
        add("dog edit", "go dogs; pick 1; click imgEdit; type txtVetName Dr. New", "click imgEdit", files::Doggies,
            nothing);
        add("dog erase", "go dogs; pick 4; answer yes yes", "click imgErase", files::Doggies, "Nothing was");
        add("dog erase, its vaccinations", "go dogs; pick 2; answer yes yes", "click imgErase", files::Health,
            "Nothing was erased: the doggie and its records are as they were.");
        add("dog erase, its journal", "go dogs; pick 2; answer yes yes", "click imgErase", files::Journal,
            "The doggie's vaccinations were erased; its journal entries and the doggie itself were not", files::Health);
        add("health add", "go health; pick 1; click imgAdd; type txtdate 5/12/2003; type txtvaccine Rabies",
            "click imgAdd", files::Health, nothing);
        add("health edit", "go health; pick 1; row 0; click imgEdit; type txtvaccine Booster", "click imgEdit",
            files::Health, nothing);
        add("health erase", "go health; pick 1; row 0; answer yes yes", "click imgErase", files::Health, nothing);
        add("journal add", "go journal; pick 2; date 2005-07-04; click imgAdd; type txtEntry Fireworks", "click imgAdd",
            files::Journal, nothing);
        add("journal edit", "go journal; pick 2; row 0; click imgEdit; type txtEntry Changed", "click imgEdit",
            files::Journal, nothing);
        add("journal erase", "go journal; pick 2; row 0; answer yes yes", "click imgErase", files::Journal, nothing);
        add("report", "go dogs; pick 1", "click imgPrint", files::Report, nothing);
        add("health erase, temp.dat", "go health; pick 1; row 0; answer yes yes", "click imgErase", files::Temp,
            nothing);
        add("dog erase, temp.dat", "go dogs; pick 2; answer yes yes", "click imgErase", files::Temp,
            "Nothing was erased");
    }
    void failedWrite_changesNothing()
    {
        QFETCH(QString, prepare);
        QFETCH(QString, commit);
        QFETCH(QString, target);
        QFETCH(QString, outcome);
        QFETCH(QString, erasedBefore);
        QFETCH(Fault, fault);
        Session s;
        s.folder.write(files::Report, "an earlier report\r\n");
        RUN(s, prepare);
        const auto before = snapshot(s.folder);
        const qsizetype shownBefore = s.prompts->shown.size();
        {
            FaultScope scope(fault, s.folder, target);
            RUN(s, commit);
        }
        const auto after = snapshot(s.folder);
        QCOMPARE(after.keys(), before.keys());
        for (const QString& file : before.keys())
            QVERIFY2((after[file] == before[file]) != (file == erasedBefore), qPrintable(file + " changed or not"));
        QVERIFY(!s.folder.exists(files::Temp) || target == files::Temp);
        QVERIFY2(s.prompts->shown.size() > shownBefore, "no message"); // after the question of an erase
        QCOMPARE(s.prompts->shown.last().title, QStringLiteral("Error!"));
        const QString message = s.prompts->shown.last().text;
        QVERIFY2(message.contains(target) || message.contains(files::Temp), qPrintable(message));
        QVERIFY2(message.contains(outcome), qPrintable(message));
        if (target == files::Report)
            return;
        RUN(s, commit);
        QVERIFY(snapshot(s.folder) != before);
    }

    // Whatever the files hold, going through every entry of every list and
    // printing each report changes no file and says nothing but of pictures.
    void oddFiles_data()
    {
        QTest::addColumn<QByteArray>("dogs");
        QTest::addColumn<QByteArray>("health");
        QTest::addColumn<QByteArray>("journal");
        QTest::newRow("empty") << QByteArray("") << QByteArray("") << QByteArray("");
        QTest::newRow("truncated") << rawbytes::doggie(1, "Rex").left(300)
                                   << rawbytes::health(1, 1, "1/1/2001", "x").left(50)
                                   << rawbytes::journal(1, 1, "1-1-2001", "x").left(3000);
        QTest::newRow("garbage") << garbage(439 * 5 + 17, 1) << garbage(68 * 40 + 3, 2) << garbage(4114 * 6 + 1000, 3);
        QTest::newRow("names of NUL bytes")
            << rawbytes::doggie(1, QByteArray(40, '\0')) + rawbytes::doggie(2, QByteArray("Re\0x", 4))
            << rawbytes::health(1, 2, QByteArray(10, '\0'), QByteArray(50, '\0'))
            << rawbytes::journal(1, 2, QByteArray(10, '\0'), QByteArray(4096, '\0'));
        QByteArray odd = garbage(68, 4); // every dog number a 32-bit field can hold
        odd.replace(4, 4, rawbytes::int32le(-1));
        QTest::newRow("odd numbers") << rawbytes::doggie(-7, "Minus") << odd + rawbytes::health(2, 1, "1/1/2001", "x")
                                     << rawbytes::journal(0x7FFFFFFF, 1, "1-1-2001", "x");
    }
    void oddFiles()
    {
        QFETCH(QByteArray, dogs);
        QFETCH(QByteArray, health);
        QFETCH(QByteArray, journal);
        Session s(false);
        s.folder.write(files::Doggies, dogs);
        s.folder.write(files::Health, health);
        s.folder.write(files::Journal, journal);
        for (Screen screen : {Screen::Doggies, Screen::Health, Screen::Journal}) {
            auto* w = qobject_cast<RegisterWindow*>(s.app.navigator.go(screen));
            for (int row = 0; row < w->lbDoggieList->count(); ++row) {
                pickDog(w, row);
                if (auto* health = qobject_cast<HealthWindow*>(w)) {
                    for (int r = 0; r < health->vaccinationGrid->rowCount(); ++r)
                        health->vaccinationGrid->selectRow(r);
                } else if (auto* journal = qobject_cast<JournalWindow*>(w)) {
                    for (int r = 0; r < journal->lbDates->count(); ++r)
                        journal->lbDates->setCurrentRow(r);
                }
            }
            RUN(s, "click imgPrint; window ReportViewer");
        }
        QCOMPARE(s.folder.read(files::Doggies), dogs);
        QCOMPARE(s.folder.read(files::Health), health);
        QCOMPARE(s.folder.read(files::Journal), journal);
        for (const auto& shown : s.prompts->shown)
            QVERIFY2(shown.text.contains(QStringLiteral("picture")), qPrintable(shown.text));
    }

    // Shown without a word, refused with one when chosen, one message in the
    // report, and all of it quickly.
    void picturesThatAreNone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QStringLiteral("notes.gif") << QByteArray("just words");
        QTest::newRow("20000 x 20000 GIF") << QStringLiteral("huge.gif") << kHugeGif;
        QTest::newRow("cut-off GIF") << QStringLiteral("cut.gif") << QByteArray("GIF89a\x10\x00\x10", 9);
    }
    void picturesThatAreNone()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        Session s;
        s.folder.write(file, bytes);
        s.folder.write(files::Doggies, rawbytes::doggie(1, "Max", s.folder.path(file).toUtf8()));
        QElapsedTimer t;
        t.start();
        RUN(s, "go dogs; pick 0; picture imgDoggiePic no-photo.gif; asked 0; click imgEdit; choose " + file +
                   "; click imgDoggiePic; asked 2; picture imgDoggiePic no-photo.gif; click imgPrint; asked 3; "
                   "window ReportViewer");
        QVERIFY(t.elapsed() < 5000);
    }

    void foreignCharacters_areStoredAsQuestionMarks()
    {
        Session s;
        RUN(s, "go health; pick 0; click imgAdd; type txtdate 5/12/2003");
        // Typed as a keyboard of another language types them.
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                        QStringLiteral("\u72C2\u72AC\u75C5 Tollwut \U0001F489 caf\u00E9"));
        QApplication::sendEvent(s.window()->findChild<QLineEdit*>(QStringLiteral("txtvaccine")), &typed);
        RUN(s, "click imgAdd");
        QCOMPARE(s.folder.read(files::Health),
                 standard::health() + rawbytes::health(7, 1, "5/12/2003", "??? Tollwut ? caf\xE9"));
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
