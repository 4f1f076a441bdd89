#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "doggies/DogRegisterWindow.h"
#include "frame/RegisterWindow.h"
#include "journal/JournalWindow.h"
#include "platform/ClickLabel.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "reports/ReportViewer.h"
#include "shell/MainWindow.h"
#include "shell/SingleInstance.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(Screen)

namespace {

QByteArray fourDogs()
{
    return rawbytes::doggie(1, "Bella") + QByteArray(439, '\0') + rawbytes::doggie(3, "Max") +
           rawbytes::doggie(4, "Bella");
}

QWidget* child(QWidget* window, const char* name)
{
    return window->findChild<QWidget*>(QLatin1String(name));
}

const char* windowName(Screen s)
{
    switch (s) {
    case Screen::Main:
        return "MainWindow";
    case Screen::Doggies:
        return "DogRegisterWindow";
    case Screen::Health:
        return "HealthWindow";
    case Screen::Journal:
        return "JournalWindow";
    case Screen::ReportViewer:
        return "ReportViewer";
    }
    return "";
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void main_loadsPicturesAndResetsTheDate()
    {
        DataFolder folder;
        App app(folder.folder());
        app.state.SelectedDate = QStringLiteral("7-4-2005");
        QWidget* main = app.navigator.go(Screen::Main);
        QCOMPARE(app.state.SelectedDate, QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")));
        QCOMPARE(app.state.SelectedDate.size(), 10);
        QCOMPARE(main->windowTitle(), QStringLiteral(" "));
        QCOMPARE(main->size(), QSize(369, 392));
        QCOMPARE(pictureOf(main, "quitPicture"), QStringLiteral("dog house.gif"));
        QCOMPARE(pictureOf(main, "background"), QStringLiteral("paw print.gif"));
        QCOMPARE(pictureOf(main, "healthPicture"), QStringLiteral("poorlydog.gif"));
        QCOMPARE(pictureOf(main, "doggiesPicture"), QStringLiteral("doggie.gif"));
        QCOMPARE(pictureOf(main, "journalPicture"), QStringLiteral("dogtail.gif"));
        QCOMPARE(main->findChild<QLabel*>(QStringLiteral("title"))->text(), QStringLiteral("PAWFOLIO 1.00"));
    }

    void register_frame_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("heightPx");
        QTest::addColumn<QStringList>("tips");
        QTest::addColumn<QStringList>("pictures"); // add, edit, erase, print, close, then the pictures of the captions
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("addLeftPx");
        QTest::addColumn<int>("barTopPx");
        QTest::newRow("dogs") << Screen::Doggies << "Doggies" << 497
                              << QStringList{"ADD DOGGIE", "EDIT DOGGIE", "ERASE DOGGIE"}
                              << QStringList{"doggie-add.gif",   "doggie-edit.gif",  "doggie-erase.gif",
                                             "doggie-print.gif", "doggie-close.gif", "poorlydog.gif",
                                             "dogtail.gif"}
                              << QStringList{"HEALTH", "JOURNAL"} << 57 << 472;
        QTest::newRow("health") << Screen::Health << "Doggie Health" << 499
                                << QStringList{"ADD HEALTH ITEM", "EDIT HEALTH ITEM", "ERASE HEALTH ITEM"}
                                << QStringList{"journal-add.gif",  "journal-edit.gif", "journal-erase.gif",
                                               "doggie-print.gif", "doggie-close.gif", "doggie.gif",
                                               "dogtail.gif"}
                                << QStringList{"DOGGIES", "JOURNAL"} << 57 << 472;
        QTest::newRow("journal") << Screen::Journal << "Doggie Journal" << 507
                                 << QStringList{"ADD ITEM", "EDIT ITEM", "ERASE ITEM"}
                                 << QStringList{"journal-add.gif",  "journal-edit.gif", "journal-erase.gif",
                                                "doggie-print.gif", "doggie-close.gif", "poorlydog.gif",
                                                "doggie.gif"}
                                 << QStringList{"HEALTH", "DOGGIES"} << 57 << 480;
    }
    void register_frame()
    {
        QFETCH(Screen, screen);
        QFETCH(QString, caption);
        QFETCH(int, heightPx);
        QFETCH(QStringList, tips);
        QFETCH(QStringList, pictures);
        QFETCH(QStringList, captions);
        QFETCH(int, addLeftPx);
        QFETCH(int, barTopPx);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        App app(folder.folder());
        auto* w = qobject_cast<RegisterWindow*>(app.navigator.go(screen));
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->size(), QSize(578, heightPx));
        QCOMPARE(w->palette().color(QPalette::Window), QColor(255, 255, 192));
        QCOMPARE(w->listHeading->text(), QStringLiteral("Your Doggies"));
        QCOMPARE(w->lbDoggieList->accessibleName(), QStringLiteral("Your Doggies"));
        // The labels are filled with their own colour, not see-through.
        const QPoint inBar = w->statusLine->geometry().topLeft() + QPoint(4, 4);
        QCOMPARE(w->grab().toImage().pixelColor(inBar * w->devicePixelRatio()), QColor(255, 192, 255));
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Doggie Information"));
        QCOMPARE(w->statusLine->text(),
                 QStringLiteral("Select doggie then click on a doggie bone to add, edit, erase, or print."));
        QCOMPARE(w->statusLine->geometry().top(), barTopPx);
        QCOMPARE(w->imgAdd->geometry(), QRect(addLeftPx, 424, 81, 41));
        QCOMPARE(w->lbDoggieList->count(), 4);
        QCOMPARE(w->lbDoggieList->item(1)->text(), QString());
        QCOMPARE(w->lbDoggieList->item(2)->text(), QStringLiteral("Max"));
        QCOMPARE(w->lbDoggieList->currentRow(), -1);
        QCOMPARE(w->imgAdd->toolTip(), tips[0] + QStringLiteral(" (Alt+A)"));
        QCOMPARE(w->imgEdit->toolTip(), tips[1] + QStringLiteral(" (Alt+E)"));
        QCOMPARE(w->imgErase->toolTip(), tips[2] + QStringLiteral(" (Alt+R)"));
        QCOMPARE(w->imgPrint->toolTip(), QStringLiteral("PRINT (Alt+P)"));
        QCOMPARE(w->imgClose->toolTip(), QStringLiteral("CLOSE (Alt+C)"));
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        QStringList names = {"imgAdd", "imgEdit", "imgErase", "imgPrint", "imgClose"};
        for (const QString& caption : captions) {
            names.append(caption.toLower() + QStringLiteral("Picture"));
            QCOMPARE(w->findChild<QLabel*>(caption.toLower() + QStringLiteral("Caption"))->text(), caption);
        }
        for (int i = 0; i < 7; ++i)
            QCOMPARE(pictureOf(w, qPrintable(names[i])), pictures[i]);
    }

    void register_picksADog_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::newRow("dogs") << Screen::Doggies;
        QTest::newRow("health") << Screen::Health;
        QTest::newRow("journal") << Screen::Journal;
    }
    void register_picksADog()
    {
        QFETCH(Screen, screen);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs() + rawbytes::doggie(5, ""));
        App app(folder.folder());
        auto* w = qobject_cast<RegisterWindow*>(app.navigator.go(screen));
        pickDog(w, 2);
        QCOMPARE(app.state.DoggieRecNo, 3);
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Max"));
        QCOMPARE(app.state.DoggieRecord.ID, 3);

        pickDog(w, 1); // the erased slot changes nothing
        QCOMPARE(app.state.DoggieRecNo, 3);
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Max"));

        pickDog(w, 3); // the second Bella is a dog of her own
        QCOMPARE(app.state.DoggieRecNo, 4);
        pickDog(w, 0);
        QCOMPARE(app.state.DoggieRecNo, 1);
        pickDog(w, 0); // a click on the entry already picked picks it again
        QCOMPARE(app.state.DoggieRecNo, 1);

        QTest::keyClick(w->lbDoggieList, Qt::Key_Down); // the keyboard picks too
        QTest::keyClick(w->lbDoggieList, Qt::Key_Down);
        QCOMPARE(app.state.DoggieRecNo, 3);

        pickDog(w, 4); // a dog saved without a name is a dog all the same
        QCOMPARE(app.state.DoggieRecNo, 5);
        QCOMPARE(w->shownDogName->text(), QString());
    }

    // What each command does, by a click, a double-click or its Alt key, in
    // every window, refusals included; `prepare` is what the user did first.
    // A command that only begins, refuses or moves writes no record file.
    void commands_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expect");
        const auto row = [](Screen screen, const char* prepare, const char* action, const char* expect) {
            QTest::addRow("%s: %s%s%s -> %s", windowName(screen), prepare, *prepare ? ", " : "", action, expect)
                << screen << QString::fromLatin1(prepare) << QString::fromLatin1(action) << QString::fromLatin1(expect);
        };
        const struct {
            Screen screen;
            const char* control;
            const char* key;
            const char* expect;
        } moves[] = {
            {Screen::Main, "doggiesPicture", "Alt+D", "window DogRegisterWindow"},
            {Screen::Main, "healthPicture", "Alt+H", "window HealthWindow"},
            {Screen::Main, "journalPicture", "Alt+J", "window JournalWindow"},
            {Screen::Main, "quitPicture", "Alt+Q", "quit"},
            {Screen::Doggies, "healthPicture", "Alt+H", "window HealthWindow"},
            {Screen::Doggies, "journalPicture", "Alt+J", "window JournalWindow"},
            {Screen::Health, "doggiesPicture", "Alt+D", "window DogRegisterWindow"},
            {Screen::Health, "journalPicture", "Alt+J", "window JournalWindow"},
            {Screen::Journal, "healthPicture", "Alt+H", "window HealthWindow"},
            {Screen::Journal, "doggiesPicture", "Alt+D", "window DogRegisterWindow"},
        };
        for (const auto& m : moves) { // the picture, its caption and its key
            QByteArray caption = m.control;
            caption.replace("Picture", "Caption");
            row(m.screen, "", m.control, m.expect);
            row(m.screen, "", caption.constData(), m.expect);
            row(m.screen, "", m.key, m.expect);
        }
        for (const auto& [reg, report] :
             {std::pair{Screen::Doggies, "viewer Doggies"}, std::pair{Screen::Health, "viewer Health"},
              std::pair{Screen::Journal, "viewer Journal"}}) {
            row(reg, "", "imgClose", "window MainWindow");
            row(reg, "", "Alt+C", "window MainWindow");
            row(reg, "", "imgPrint", report);
            row(reg, "", "Alt+P", report);
        }
        row(Screen::ReportViewer, "", "cmdClose", "window HealthWindow");
        row(Screen::ReportViewer, "", "Alt+C", "window HealthWindow");
        row(Screen::ReportViewer, "", "Alt+P", "printed");

        row(Screen::Doggies, "", "Alt+A", "imgAdd SAVE");
        row(Screen::Doggies, "", "double-click imgAdd", "imgAdd SAVE"); // no blank dog saved
        row(Screen::Doggies, "pick", "Alt+E", "imgEdit SAVE");
        row(Screen::Doggies, "pick", "double-click imgEdit", "imgEdit SAVE");
        row(Screen::Doggies, "", "Alt+E", "imgEdit EDIT");
        row(Screen::Doggies, "pick", "Alt+R", "question");
        row(Screen::Doggies, "pick, edit", "Alt+I", "chooser");
        row(Screen::Doggies, "pick, edit", "double-click imgDoggiePic", "chooser");
        row(Screen::Doggies, "pick", "Alt+I", "nothing"); // the picture is locked
        row(Screen::Health, "pick", "Alt+A", "imgAdd SAVE");
        row(Screen::Health, "pick, row", "Alt+E", "imgEdit SAVE");
        row(Screen::Health, "pick, row", "Alt+R", "question");
        row(Screen::Journal, "pick, picker Alt+O", "Alt+A", "imgAdd SAVE");
        row(Screen::Journal, "pick, picker Alt+C", "Alt+A", "imgAdd ADD");
        row(Screen::Journal, "pick, add", "double-click imgAdd", "saved once"); // no second date picker
        row(Screen::Journal, "pick, row", "Alt+E", "imgEdit SAVE");
        row(Screen::Journal, "pick, row", "Alt+R", "question");
        // Add in the health register and the journal is for a dog picked in that window.
        for (Screen reg : {Screen::Health, Screen::Journal}) {
            for (const char* dog : {"", "another window", "pick, erased"})
                row(reg, dog, "imgAdd", "imgAdd ADD");
        }
    }
    void commands()
    {
        QFETCH(Screen, screen);
        QFETCH(QString, prepare);
        QFETCH(QString, action);
        QFETCH(QString, expect);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        folder.write(files::Health, rawbytes::health(1, 3, "5/12/2003", "Rabies"));
        folder.write(files::Journal, rawbytes::journal(1, 3, "3-2-2005", "Park"));
        App app(folder.folder());
        ScriptedPromptsScope prompts;
        if (prepare.contains(QStringLiteral("another")))
            pickDog(app.navigator.go(Screen::Doggies), 2);
        QPointer<QWidget> w = app.navigator.go(screen == Screen::ReportViewer ? Screen::Health : screen);
        if (screen == Screen::ReportViewer) { // a health report, printed to a file
            click(qobject_cast<RegisterWindow*>(w.data())->imgPrint);
            w = app.navigator.current();
            qobject_cast<ReportViewer*>(w.data())->setPrintFile(folder.path(QStringLiteral("printed.pdf")));
        }
        if (prepare.contains(QStringLiteral("pick")))
            pickDog(w, 2);
        if (prepare.contains(QStringLiteral("erased")))
            folder.write(files::Doggies, fourDogs().replace(2 * 439, 439, QByteArray(439, '\0')));
        if (prepare.contains(QStringLiteral("row")))
            pickRow(w->findChild<QAbstractItemView*>(screen == Screen::Health ? QStringLiteral("vaccinationGrid")
                                                                              : QStringLiteral("lbDates")),
                    0);
        if (prepare.contains(QStringLiteral("edit")))
            click(child(w, "imgEdit"));
        if (prepare.contains(QStringLiteral("add"))) {
            answerDatePicker(QDate(2005, 7, 4));
            click(child(w, "imgAdd"));
            w->findChild<QPlainTextEdit*>(QStringLiteral("txtEntry"))->setPlainText(QStringLiteral("Fireworks"));
        }
        const QList<QByteArray> filesBefore = {folder.read(files::Doggies), folder.read(files::Health),
                                               folder.read(files::Journal)};
        prompts->answers = {false};
        w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w.data());
        // A date picker is answered as the row says; one the row does not
        // expect is closed, so that the test fails rather than hangs.
        QObject scope;
        bool pickerUnexpected = false;
        QTimer::singleShot(0, &scope, [&] {
            auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget());
            if (!picker)
                return;
            if (!prepare.contains(QStringLiteral("picker"))) {
                pickerUnexpected = true;
                picker->done(QDialog::Rejected);
                return;
            }
            picker->activateWindow();
            (void)QTest::qWaitFor([picker] { return QApplication::activeWindow() == picker; }, 2000);
            QTest::keyClick(picker, Qt::Key_Return); // Enter and Escape do nothing there
            QTest::keyClick(picker, Qt::Key_Escape);
            QTest::keyClick(picker, prepare.endsWith(u'O') ? Qt::Key_O : Qt::Key_C, Qt::AltModifier);
            if (picker->isVisible()) {
                pickerUnexpected = true;
                picker->done(QDialog::Rejected);
            }
        });
        if (action.startsWith(QStringLiteral("Alt+")))
            QTest::keyClick(w, Qt::Key(Qt::Key_A + action.at(4).unicode() - u'A'), Qt::AltModifier);
        else if (action.startsWith(QStringLiteral("double-click ")))
            doubleClick(child(w, qPrintable(action.mid(13))));
        else
            click(child(w, qPrintable(action)));
        QCoreApplication::processEvents();
        settle();
        QVERIFY(!pickerUnexpected);
        QVERIFY(!QApplication::activeModalWidget());

        const QStringList words = expect.split(u' ');
        if (words[0] == u"window" || words[0] == u"viewer") {
            QVERIFY(w.isNull()); // unloaded, not merely hidden
            QCOMPARE(visibleWindows(), QList<QWidget*>{app.navigator.current()});
            const bool viewer = words[0] == u"viewer";
            QCOMPARE(app.navigator.current()->objectName(), viewer ? QStringLiteral("ReportViewer") : words[1]);
            QCOMPARE(app.state.ReportType, viewer ? words[1] : QString());
            // The window opened takes the keyboard, so that the next key works there.
            QTRY_COMPARE(QApplication::activeWindow(), app.navigator.current());
            if (auto* reg = qobject_cast<RegisterWindow*>(app.navigator.current()))
                QCOMPARE(reg->lbDoggieList->count(), 4); // loaded afresh
        } else if (expect == u"quit") {
            QCOMPARE(app.quitCount, 1);
            QVERIFY(visibleWindows().isEmpty());
        } else if (words[0].startsWith(u"img")) {
            QCOMPARE(qobject_cast<PictureControl*>(child(w, qPrintable(words[0])))->tag(), words[1]);
        } else if (expect == u"question") {
            QCOMPARE(prompts->shown.size(), 1);
            QVERIFY(prompts->shown.first().question);
        } else if (expect == u"chooser") {
            QCOMPARE(prompts->chooserStarts.size(), 1);
        } else if (expect == u"printed") {
            QVERIFY(QFileInfo(folder.path(QStringLiteral("printed.pdf"))).size() > 0);
        } else if (expect == u"saved once") {
            QCOMPARE(folder.read(files::Journal), filesBefore[2] + rawbytes::journal(2, 3, "7-4-2005", "Fireworks"));
            QCOMPARE(qobject_cast<PictureControl*>(child(w, "imgAdd"))->tag(), QStringLiteral("ADD"));
            return;
        } else {
            QCOMPARE(expect, QStringLiteral("nothing"));
            QVERIFY(prompts->shown.isEmpty());
            QCOMPARE(app.navigator.current(), w.data());
        }
        if (prepare.endsWith(QStringLiteral("Alt+O")))
            QCOMPARE(app.state.SelectedDate, DatePickerDialog::dateText(QDate::currentDate()));
        if (prepare.endsWith(QStringLiteral("Alt+C")))
            QCOMPARE(app.state.SelectedDate, QString());
        if (!prepare.contains(QStringLiteral("erased")))
            QCOMPARE(QList<QByteArray>(
                         {folder.read(files::Doggies), folder.read(files::Health), folder.read(files::Journal)}),
                     filesBefore);
    }

    void register_keepsTheDogOfAnotherWindow()
    {
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        App app(folder.folder());
        auto* health = qobject_cast<RegisterWindow*>(app.navigator.go(Screen::Health));
        pickDog(health, 2);
        auto* dogs = qobject_cast<RegisterWindow*>(app.navigator.go(Screen::Doggies));
        QCOMPARE(app.state.DoggieRecNo, 3);
        QCOMPARE(dogs->shownDogName->text(), QStringLiteral("Doggie Information"));
        QVERIFY(dogs->lbDoggieList->selectedItems().isEmpty());
        QCOMPARE(app.state.DoggieRecord.ID, 4); // the list load left the last record
        dogs->lbDoggieList->setFocus();         // taking the focus picks nothing
        QCOMPARE(app.state.DoggieRecNo, 3);
    }

    void returningToMainResetsTheDate()
    {
        DataFolder folder;
        App app(folder.folder());
        app.navigator.go(Screen::Main);
        auto* journal = app.navigator.go(Screen::Journal);
        app.state.SelectedDate = QStringLiteral("12-25-2005");
        click(child(journal, "imgClose"));
        QCOMPARE(app.state.SelectedDate, QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")));
    }

    void everyPicture_hasAnAccessibleName_data() { missingPictures_leaveControlsEmpty_data(); }
    void everyPicture_hasAnAccessibleName()
    {
        QFETCH(Screen, screen);
        DataFolder folder;
        App app(folder.folder());
        QWidget* w = app.navigator.go(screen);
        const QRegularExpression key(QStringLiteral(" ?\\(Alt\\+.\\)$"));
        for (PictureControl* picture : w->findChildren<PictureControl*>()) {
            QVERIFY2(!picture->accessibleName().isEmpty(), qPrintable(picture->objectName()));
            const QString tip = picture->toolTip().remove(key);
            if (!tip.isEmpty()) // a screen reader says what the tooltip shows, its key aside
                QCOMPARE(picture->accessibleName(), tip);
        }
        if (auto* reg = qobject_cast<RegisterWindow*>(w))
            QCOMPARE(reg->imgAdd->accessibleName() + QStringLiteral(" (Alt+A)"), reg->imgAdd->toolTip());
    }

    void missingPictures_leaveControlsEmpty_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::newRow("main") << Screen::Main;
        QTest::newRow("dogs") << Screen::Doggies;
        QTest::newRow("health") << Screen::Health;
        QTest::newRow("journal") << Screen::Journal;
        QTest::newRow("viewer") << Screen::ReportViewer;
    }
    void missingPictures_leaveControlsEmpty()
    {
        QFETCH(Screen, screen);
        DataFolder folder(false); // no pictures at all
        folder.write(QStringLiteral("doggie.gif"), "not a picture");
        folder.write(files::Doggies, fourDogs());
        App app(folder.folder());
        QWidget* w = app.navigator.go(screen);
        QVERIFY(w->isVisible());
        for (PictureControl* picture : w->findChildren<PictureControl*>())
            QVERIFY(!picture->hasPicture());
        if (auto* reg = qobject_cast<RegisterWindow*>(w)) {
            QCOMPARE(reg->lbDoggieList->count(), 4);
            pickDog(reg, 2);
            QCOMPARE(app.state.DoggieRecNo, 3);
            click(reg->imgClose); // the empty close bone still works
            settle();
            QCOMPARE(visibleWindows().first()->objectName(), QStringLiteral("MainWindow"));
        }
    }

    // Real Pawfolio processes, each started from a copy of the program in a
    // folder of its own.
    void singleInstance_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("a second start on the folder hands over") << "same folder";
        QTest::newRow("a lock left by a killed Pawfolio is taken over") << "stale lock";
        QTest::newRow("another folder runs on its own") << "other folder";
    }
    void singleInstance()
    {
        QFETCH(QString, situation);
        DataFolder first(false);
        DataFolder second(false);
        for (const DataFolder* folder : {&first, &second})
            QVERIFY(QFile::copy(QStringLiteral(PAWFOLIO_PROGRAM), folder->path(QStringLiteral("pawfolio"))));
        std::deque<QProcess> running;
        auto start = [&](const DataFolder& folder) -> QProcess& {
            QProcess& p = running.emplace_back();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            p.setProcessEnvironment(env);
            p.start(folder.path(QStringLiteral("pawfolio")), {});
            return p;
        };
        auto listening = [](const DataFolder& folder) {
            QLocalSocket socket;
            socket.connectToServer(SingleInstance::serverName(folder.folder()));
            return socket.waitForConnected(100);
        };
        const auto cleanup = qScopeGuard([&] {
            for (QProcess& p : running) {
                p.kill();
                p.waitForFinished(5000);
            }
        });
        QProcess& firstRun = start(first);
        QTRY_VERIFY_WITH_TIMEOUT(listening(first), 10000);
        QVERIFY(QFile::exists(first.path(QStringLiteral("pawfolio.lock"))));
        if (situation == u"stale lock") {
            firstRun.kill(); // SIGKILL: the lock file and the socket stay behind
            QVERIFY(firstRun.waitForFinished(5000));
            QVERIFY(QFile::exists(first.path(QStringLiteral("pawfolio.lock"))));
        }
        const QStringList filesBefore = QDir(first.folder()).entryList(QDir::Files);
        QProcess& secondRun = start(situation == u"other folder" ? second : first);
        if (situation == u"same folder") {
            QVERIFY(secondRun.waitForFinished(3000));
            QCOMPARE(secondRun.exitStatus(), QProcess::NormalExit);
            QCOMPARE(secondRun.exitCode(), 0);
            QCOMPARE(QDir(first.folder()).entryList(QDir::Files), filesBefore);
            QByteArray said;
            QTRY_VERIFY2((said += firstRun.readAllStandardError()).contains("bringing MainWindow to the front"),
                         said.constData());
            QCOMPARE(firstRun.state(), QProcess::Running);
        } else {
            QVERIFY(!secondRun.waitForFinished(2000)); // it runs on
            QVERIFY(listening(situation == u"other folder" ? second : first));
        }
    }

    void unreadableDogFile_isReportedAndTheWindowGoesOn()
    {
        DataFolder folder;
        QVERIFY(QDir(folder.folder()).mkdir(files::Doggies)); // a folder where the file should be
        ScriptedPromptsScope scripted;
        App app(folder.folder());
        auto* w = qobject_cast<RegisterWindow*>(app.navigator.go(Screen::Health));
        QVERIFY(w->isVisible());
        QCOMPARE(w->lbDoggieList->count(), 0);
        QCOMPARE(scripted->shown.size(), 1);
        QCOMPARE(scripted->shown.first().title, QStringLiteral("Error!"));
        QVERIFY(scripted->shown.first().text.contains(QStringLiteral("doggies.dat")));
        click(w->journalCaption);
        settle();
        QCOMPARE(visibleWindows().first()->objectName(), QStringLiteral("JournalWindow"));
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
