#include "TestSupport.h"

#include "frame/RegisterWindow.h"
#include "platform/ClickLabel.h"
#include "platform/PictureControl.h"
#include "shell/RecordsFolder.h"
#include "shell/SingleInstance.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <optional>

#include <csignal>

class TestShell : public QObject {
    Q_OBJECT
    // The sockets a killed Pawfolio leaves behind go with the test, not into
    // the person's own cache and runtime folders; a desktop session's runtime
    // folder is not the test's.
    QTemporaryDir m_sockets{QDir::currentPath() + u"/sockets-XXXXXX"_s};
private slots:
    void initTestCase()
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_sockets.path()));
        qunsetenv("XDG_RUNTIME_DIR"); // the rows that need a session give theirs
    }

    // Each window of its fixed size, in pixels at 96 dpi. A screen reader says
    // what a command's tooltip shows, its key aside; without its pictures,
    // even a broken one, a window works with empty controls.
    void everyWindow()
    {
        const Screen screens[] = {Screen::Main, Screen::Doggies, Screen::Health, Screen::Journal};
        const QSize sizes[] = {{369, 392}, {578, 497}, {578, 499}, {578, 507}};
        for (int i = 0; i < 8; ++i) { // every window, with its pictures and without
            const Screen screen = screens[i % 4];
            const bool pictures = i < 4;
            Session s;
            if (!pictures) {
                for (const QString& gif : QDir(s.folder.folder()).entryList({u"*.gif"_s}))
                    QFile::remove(s.folder.path(gif));
                s.folder.write(u"doggie.gif"_s, "not a picture");
            }
            QWidget* w = s.navigator.go(screen);
            QVERIFY(!w->windowIcon().isNull());
            QVERIFY(w->size() == sizes[i % 4] && w->minimumSize() == w->maximumSize());
            QVERIFY(!(w->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
            for (PictureControl* picture : w->findChildren<PictureControl*>()) {
                QVERIFY2(!picture->accessibleName().isEmpty(), qPrintable(picture->objectName()));
                const QString tip = picture->toolTip();
                if (!tip.isEmpty()) { // a command: its name, its key, and the pointing hand over it
                    const QString name = QString(tip).remove(QRegularExpression(u" ?\\(Alt\\+.\\)$"_s));
                    QVERIFY2(name != tip, qPrintable(tip));
                    QVERIFY(name.isEmpty() || picture->accessibleName() == name);
                    QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
                }
                QCOMPARE(picture->hasPicture(), pictures);
            }
            // Captions, boxes and lists in the program's comic face, bold: captions at 12 points, boxes
            // and lists at 9; the main window's footer in the plain face at 8.
            for (QWidget* text : w->findChildren<QWidget*>()) {
                const QFont font = text->font();
                const bool caption = qobject_cast<ClickLabel*>(text), box = qobject_cast<QLineEdit*>(text) ||
                                                                            qobject_cast<QPlainTextEdit*>(text) ||
                                                                            qobject_cast<QListWidget*>(text);
                if (!caption && !box && !qobject_cast<QLabel*>(text))
                    continue;
                const bool footer = text->objectName().startsWith(u"footer");
                QVERIFY2(font.families().value(0) == (footer ? "MS Sans Serif" : "Comic Sans MS") &&
                             font.bold() == !footer && (!caption || font.pixelSize() == 16) &&
                             (!caption || text->palette().color(QPalette::WindowText) == QColor(Qt::blue)) &&
                             (!box || font.pixelSize() == 12) && (!footer || font.pixelSize() == 11),
                         qPrintable(text->objectName() + ": " + font.toString()));
            }
            // Titles, footers, headings and the status line centred: as much room each side, within a
            // heading's box, of the red title or of the dark text over the paw prints or a heading's colour.
            static const QRegularExpression centred(u"^(title|footer.*|listHeading|shownDogName|statusLine)$"_s);
            for (QLabel* line : w->findChildren<QLabel*>(centred)) {
                const QImage shown = line->grab(line->contentsRect()).toImage();
                const bool title = line->objectName() == u"title";
                QList<int> inked;
                for (int x = 0; x < shown.width(); ++x) {
                    for (int y = 0; y < shown.height(); ++y) {
                        const QColor c = shown.pixelColor(x, y);
                        if (title ? c.red() > 160 && c.green() < 96 && c.alpha() > 128
                                  : c.lightness() < 96 && c.alpha() > 128)
                            inked.append(x);
                    }
                }
                QVERIFY2(!inked.isEmpty() && qAbs(inked.first() - (shown.width() - 1 - inked.last())) <= 4,
                         qPrintable(line->objectName()));
            }
            if (auto* frame = qobject_cast<RegisterWindow*>(w)) {
                QCOMPARE(part<QWidget>(frame, "lbDoggieList")->accessibleName(), u"Your Doggies"_s);
                // The status line, the information panel and the dog list are filled with their own colour.
                const QImage shown = w->grab().toImage();
                const auto inside = [w](QWidget* area) { return (area->pos() + QPoint(4, 4)) * w->devicePixelRatio(); };
                QCOMPARE(shown.pixelColor(QPoint(2, 2) * w->devicePixelRatio()), QColor(255, 255, 192)); // the window's
                QCOMPARE(shown.pixelColor(inside(part<QWidget>(frame, "statusLine"))), QColor(255, 192, 255));
                QCOMPARE(shown.pixelColor(inside(part<QWidget>(frame, "infoPanel"))), QColor(192, 255, 192));
                QCOMPARE(shown.pixelColor(inside(part<QWidget>(frame, "lbDoggieList")) + QPoint(0, 200)),
                         QColor(192, 255, 255));
                RUN(s, "pick Max; state DoggieRecNo 3; click imgClose; window MainWindow");
            }
            QWidget question; // a logout waits while a question or the date picker is open
            question.setWindowModality(Qt::ApplicationModal);
            question.show();
            QVERIFY(!s.navigator.closeForSession() && s.window()->isVisible());
        }
    }

    // Records live beside a program the person may write, never in the
    // system's program folders, though an administrator may write them.
    void recordsFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        const auto real = qScopeGuard([] { QStandardPaths::setTestModeEnabled(false); });
        const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QString problem; // a folder the person may write holds them: see the lock of singleInstance()
#ifdef Q_OS_WIN
        const QString system = qEnvironmentVariable("ProgramFiles") + u"/Pawfolio"_s;
#else
        const QString system = u"/usr/lib/pawfolio"_s;
        QVERIFY(!isSystemProgramFolder(u"/usrlocal/pawfolio"_s));
        QCOMPARE(recordsFolderFor(u"/usr/lib"_s, problem), own); // root may write it
#endif
        QVERIFY(isSystemProgramFolder(system));
        QCOMPARE(recordsFolderFor(system, problem), own);
        QVERIFY(problem.isEmpty() && QFileInfo(own).isDir());
        // The pictures lie beside the program, or, installed on Linux, in share/pawfolio beside lib/pawfolio.
        const DataFolder prefix(false);
        QVERIFY(QDir(prefix.folder()).mkpath(u"lib/pawfolio"_s) && QDir(prefix.folder()).mkpath(u"share/pawfolio"_s));
        const QString program = prefix.path(u"lib/pawfolio"_s), shared = prefix.path(u"share/pawfolio"_s);
        QCOMPARE(picturesFolderFor(program), program); // none anywhere: the windows show empty controls
        QVERIFY(QFile::copy(u"%1/doggie.gif"_s.arg(PAWFOLIO_ASSETS), shared + u"/doggie.gif"_s));
        QCOMPARE(QDir(picturesFolderFor(program)).canonicalPath(), QDir(shared).canonicalPath());
        QVERIFY(QFile::copy(u"%1/doggie.gif"_s.arg(PAWFOLIO_ASSETS), program + u"/doggie.gif"_s));
        QCOMPARE(picturesFolderFor(program), program);
    }

    // Real Pawfolio processes, each started from a copy of the program in a
    // folder of its own.
    void singleInstance_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("a second start on the folder hands over") << "same folder";
        QTest::newRow("on a full disk, where no lock can be written, the socket is found") << "same folder, full disk";
        QTest::newRow("one without its lock (a full disk) keeps its socket") << "same folder, full disk, first only";
        QTest::newRow("a lock left by a killed Pawfolio is taken over") << "stale lock";
        QTest::newRow("two starts on a killed Pawfolio's lock: one takes it, the other hands over")
            << "stale lock, race";
#ifndef Q_OS_WIN // where a session gives its runtime folder, and a process can be stopped
        QTest::newRow("from another session, whose runtime folder another user made") << "same folder, session";
        QTest::newRow("a stopped Pawfolio is never taken over") << "stopped";
#endif
        QTest::newRow("another folder runs on its own") << "other folder";
    }
    void singleInstance()
    {
        QFETCH(QString, situation);
        const QString program = QFileInfo(QStringLiteral(PAWFOLIO_PROGRAM)).fileName();
        DataFolder first(false);
        DataFolder second(false);
        for (const DataFolder* folder : {&first, &second})
            QVERIFY(QFile::copy(QStringLiteral(PAWFOLIO_PROGRAM), folder->path(program)));
        qputenv("QT_FORCE_STDERR_LOGGING", "1"); // what a Windows program says goes to stderr too
        // Two sessions' runtime folders: the person's own, and one anybody may write, which is not used.
        const QTemporaryDir own, anybodys;
        QFile::setPermissions(anybodys.path(), QFile::Permissions(0x7777));
        std::deque<QProcess> running; // each killed when it goes
        auto start = [&](const DataFolder& folder, const QTemporaryDir* runtime = nullptr) -> QProcess& {
            QProcess& p = running.emplace_back(); // offscreen, as this test runs
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (runtime)
                env.insert(u"XDG_RUNTIME_DIR"_s, runtime->path());
            p.setProcessEnvironment(env);
            p.start(folder.path(program), {});
            return p;
        };
        auto listening = [](const DataFolder& folder) {
            QLocalSocket socket;
            socket.connectToServer(SingleInstance::serverName(folder.folder()));
            return socket.waitForConnected(100);
        };
#ifndef Q_OS_WIN // there a pipe of the person's own session; here a folder only the person can write
        QFile::setPermissions(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/pawfolio",
                              QFile::Permissions(0x7755)); // opened to others since: closed again
        const QString sockets = SingleInstance::socketFolders().value(0);
        QVERIFY(SingleInstance::serverName(first.folder()).startsWith(sockets + u'/'));
        QCOMPARE(QFileInfo(sockets).permissions() & 0x0077, QFile::Permissions());
        QCOMPARE(sockets, m_sockets.path() + u"/pawfolio"_s); // the person's cache: never a shared folder as /tmp
#endif
        std::optional<FullDisk> full; // no file can grow: no lock can be written
        if (situation.contains(u"full disk") && !full.emplace(0).beneath)
            QSKIP("Qt writes the lock, and only Linux makes a full disk beneath it");
        const bool sessions = situation.contains(u"session");
        QProcess& firstRun = start(first, sessions ? &own : nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(listening(first), 10000);
        QCOMPARE(first.read(u"pawfolio.lock"_s).startsWith(QByteArray::number(firstRun.processId()) + '\n'),
                 !situation.contains(u"full disk")); // the lock is this Pawfolio's now
        if (situation.startsWith(u"stale lock")) {
            firstRun.kill(); // SIGKILL: the lock file and the socket stay behind
            QVERIFY(firstRun.waitForFinished(5000));
            QVERIFY(QFile::exists(first.path(u"pawfolio.lock"_s)));
        }
#ifndef Q_OS_WIN
        if (situation == u"stopped")
            ::kill(pid_t(firstRun.processId()), SIGSTOP);
#endif
        if (situation.contains(u"first only"))
            full.reset(); // the second could lock the folder: it finds the first all the same
        const QStringList filesBefore = QDir(first.folder()).entryList(QDir::Files);
        QProcess& secondRun = start(situation == u"other folder" ? second : first, sessions ? &anybodys : nullptr);
        if (situation.contains(u"race")) { // a third at the same moment: one of the two takes the lock
            QProcess& thirdRun = start(first);
            QTRY_VERIFY_WITH_TIMEOUT(
                secondRun.state() == QProcess::NotRunning || thirdRun.state() == QProcess::NotRunning, 10000);
            QProcess& holder = secondRun.state() == QProcess::Running ? secondRun : thirdRun;
            QVERIFY(!holder.waitForFinished(500)); // it runs on
            QVERIFY(first.read(u"pawfolio.lock"_s).startsWith(QByteArray::number(holder.processId()) + '\n'));
            QByteArray said;
            QTRY_VERIFY((said += holder.readAllStandardError()).contains("bringing MainWindow to the front"));
#ifndef Q_OS_WIN
        } else if (situation == u"stopped") { // says so, and leaves the lock to its holder
            QByteArray said;
            QTRY_VERIFY_WITH_TIMEOUT(
                (said += secondRun.readAllStandardError())
                    .contains("already open on these records, as process " + QByteArray::number(firstRun.processId())),
                10000);
            QVERIFY(first.read(u"pawfolio.lock"_s).startsWith(QByteArray::number(firstRun.processId()) + '\n'));
            ::kill(pid_t(firstRun.processId()), SIGCONT);
#endif
        } else if (situation.startsWith(u"same folder")) { // hands over
            QVERIFY(secondRun.waitForFinished(3000));
            QVERIFY(secondRun.exitStatus() == QProcess::NormalExit && secondRun.exitCode() == 0);
            QCOMPARE(QDir(first.folder()).entryList(QDir::Files), filesBefore);
            QByteArray said;
            QTRY_VERIFY2((said += firstRun.readAllStandardError()).count("bringing MainWindow to the front") == 1,
                         said.constData());
            QCOMPARE(firstRun.state(), QProcess::Running);
        } else {
            QVERIFY(!secondRun.waitForFinished(2000)); // it runs on
            QVERIFY(listening(situation == u"other folder" ? second : first));
        }
    }

    // Locks no Pawfolio answers for: one of another computer, or one that
    // cannot be read, is taken over only when the person says so; one of a
    // process alive here never is. Declined, the start writes nothing.
    void singleInstance_unansweredLocks_data()
    {
        QTest::addColumn<QByteArray>("lock"); // "held": one this test process holds
        QTest::addColumn<bool>("yes");        // the answer to the question, where one is asked
        const QByteArray foreign = "4242\npawfolio\nfar-away\n";
        QTest::newRow("another computer's, declined") << foreign << false;
        QTest::newRow("another computer's, taken over") << foreign << true;
        QTest::newRow("an empty one, as a power cut leaves, declined") << QByteArray() << false;
        QTest::newRow("a folder in its place, taken over") << QByteArray("folder") << true;
        QTest::newRow("one alive here") << QByteArray("held") << false;
    }
    void singleInstance_unansweredLocks()
    {
        QFETCH(QByteArray, lock);
        QFETCH(bool, yes);
        Session s;
        QLockFile held(s.folder.path(u"pawfolio.lock"_s));
        const bool alive = lock == "held", foreign = lock.contains("far-away");
        if (alive)
            QVERIFY(held.lock());
        else if (lock == "folder")
            QVERIFY(QDir(s.folder.folder()).mkdir(u"pawfolio.lock"_s));
        else
            s.folder.write(u"pawfolio.lock"_s, lock);
        if (!alive)
            s.prompts->answers.push_back(yes);
        const QByteArray before = s.folder.read(u"pawfolio.lock"_s);
        const QStringList files = QDir(s.folder.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        SingleInstance instance(s.folder.folder());
        QCOMPARE(instance.start(), yes);
        const QString pid = QString::number(QCoreApplication::applicationPid());
        const QString said = alive ? u"already open on these records (process %1)"_s.arg(pid)
                                   : u"open on %1 since"_s.arg(foreign ? "far-away" : "another computer");
        QCOMPARE(s.prompts->shown.size(), 1);
        QVERIFY2(s.prompts->shown.last().text.contains(said), qPrintable(s.prompts->shown.last().text));
        if (yes) // the lock is this start's
            QVERIFY(s.folder.read(u"pawfolio.lock"_s).startsWith(pid.toLatin1() + '\n'));
        else
            QCOMPARE(s.folder.read(u"pawfolio.lock"_s), before);
        QCOMPARE(QDir(s.folder.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), files);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
