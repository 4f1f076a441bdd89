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

    void main_opensEachRegister_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<Screen>("target");
        QTest::newRow("doggie picture") << QStringLiteral("doggiesPicture") << Screen::Doggies;
        QTest::newRow("DOGGIES caption") << QStringLiteral("doggiesCaption") << Screen::Doggies;
        QTest::newRow("health picture") << QStringLiteral("healthPicture") << Screen::Health;
        QTest::newRow("HEALTH caption") << QStringLiteral("healthCaption") << Screen::Health;
        QTest::newRow("journal picture") << QStringLiteral("journalPicture") << Screen::Journal;
        QTest::newRow("JOURNAL caption") << QStringLiteral("journalCaption") << Screen::Journal;
    }
    void main_opensEachRegister()
    {
        QFETCH(QString, control);
        QFETCH(Screen, target);
        DataFolder folder;
        App app(folder.folder());
        QWidget* main = app.navigator.go(Screen::Main);
        click(child(main, control.toLatin1().constData()));
        settle();
        const QList<QWidget*> windows = visibleWindows();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows.first()->objectName(), QLatin1String(windowName(target)));
        QCOMPARE(app.quitCount, 0);
    }

    void main_quits_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("dog house") << QStringLiteral("quitPicture");
        QTest::newRow("QUIT caption") << QStringLiteral("quitCaption");
    }
    void main_quits()
    {
        QFETCH(QString, control);
        DataFolder folder;
        App app(folder.folder());
        QWidget* main = app.navigator.go(Screen::Main);
        click(child(main, control.toLatin1().constData()));
        settle();
        QCOMPARE(app.quitCount, 1);
        QVERIFY(visibleWindows().isEmpty());
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

    void register_navigates_data()
    {
        QTest::addColumn<Screen>("from");
        QTest::addColumn<QString>("control");
        QTest::addColumn<Screen>("target");
        const struct {
            Screen from;
            const char* control;
            Screen target;
        } rows[] = {
            {Screen::Doggies, "healthPicture", Screen::Health},   {Screen::Doggies, "healthCaption", Screen::Health},
            {Screen::Doggies, "journalPicture", Screen::Journal}, {Screen::Doggies, "journalCaption", Screen::Journal},
            {Screen::Health, "doggiesPicture", Screen::Doggies},  {Screen::Health, "doggiesCaption", Screen::Doggies},
            {Screen::Health, "journalPicture", Screen::Journal},  {Screen::Health, "journalCaption", Screen::Journal},
            {Screen::Journal, "healthPicture", Screen::Health},   {Screen::Journal, "healthCaption", Screen::Health},
            {Screen::Journal, "doggiesPicture", Screen::Doggies}, {Screen::Journal, "doggiesCaption", Screen::Doggies},
            {Screen::Doggies, "imgClose", Screen::Main},          {Screen::Health, "imgClose", Screen::Main},
            {Screen::Journal, "imgClose", Screen::Main},
        };
        for (const auto& r : rows)
            QTest::addRow("%s %s", windowName(r.from), r.control)
                << r.from << QString::fromLatin1(r.control) << r.target;
    }
    void register_navigates()
    {
        QFETCH(Screen, from);
        QFETCH(QString, control);
        QFETCH(Screen, target);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        App app(folder.folder());
        QPointer<QWidget> source = app.navigator.go(from);
        click(child(source, control.toLatin1().constData()));
        settle();
        QVERIFY(source.isNull()); // unloaded, not merely hidden
        const QList<QWidget*> windows = visibleWindows();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows.first()->objectName(), QLatin1String(windowName(target)));
        if (auto* reg = qobject_cast<RegisterWindow*>(windows.first()))
            QCOMPARE(reg->lbDoggieList->count(), 4); // loaded afresh
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

    // A double-click on a bone or on the dog's picture is the one click it began with.
    void doubleClick_isOneClick_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* control : {"dog add bone", "dog edit bone", "dog picture", "journal save bone"})
            QTest::newRow(control) << QString::fromLatin1(control);
    }
    void doubleClick_isOneClick()
    {
        QFETCH(QString, control);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        App app(folder.folder());
        ScriptedPromptsScope prompts;
        if (control == u"journal save bone") {
            auto* w = qobject_cast<JournalWindow*>(app.navigator.go(Screen::Journal));
            pickDog(w, 2);
            answerDatePicker(QDate(2005, 7, 4));
            click(w->imgAdd);
            w->txtEntry->setPlainText(QStringLiteral("Fireworks"));
            QObject scope; // the watch below ends with the test
            bool pickerShown = false;
            QTimer::singleShot(0, &scope, [&] {
                if (auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget())) {
                    pickerShown = true;
                    click(picker->imgClose);
                }
            });
            doubleClick(w->imgAdd);
            QVERIFY(!pickerShown);
            QCOMPARE(folder.read(files::Journal), rawbytes::journal(1, 3, "7-4-2005", "Fireworks"));
            QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
            return;
        }
        auto* w = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
        if (control == u"dog add bone") {
            doubleClick(w->imgAdd); // begins an add, saves no blank dog
            QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
            QCOMPARE(folder.read(files::Doggies), fourDogs());
        } else if (control == u"dog edit bone") {
            pickDog(w, 2);
            doubleClick(w->imgEdit);
            QCOMPARE(w->imgEdit->tag(), QStringLiteral("SAVE"));
            QVERIFY(!w->txtName->isReadOnly());
        } else {
            pickDog(w, 2);
            click(w->imgEdit);
            doubleClick(w->imgDoggiePic);
            QCOMPARE(prompts->chooserStarts.size(), 1);
        }
    }

    // Every command from the keyboard: each Alt key does what a click on its
    // control does, refusals included. `prepare`: what the user did first.
    void altKeys_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expect");
        const auto row = [](const char* name, Screen screen, const char* prepare, Qt::Key key, const char* expect) {
            QTest::newRow(name) << screen << QString::fromLatin1(prepare) << int(key) << QString::fromLatin1(expect);
        };
        row("main, Alt+D", Screen::Main, "", Qt::Key_D, "window DogRegisterWindow");
        row("main, Alt+H", Screen::Main, "", Qt::Key_H, "window HealthWindow");
        row("main, Alt+J", Screen::Main, "", Qt::Key_J, "window JournalWindow");
        row("main, Alt+Q", Screen::Main, "", Qt::Key_Q, "quit");
        row("dogs, Alt+A", Screen::Doggies, "", Qt::Key_A, "imgAdd SAVE");
        row("dogs, Alt+E", Screen::Doggies, "pick", Qt::Key_E, "imgEdit SAVE");
        row("dogs, Alt+E refused without a dog", Screen::Doggies, "", Qt::Key_E, "imgEdit EDIT");
        row("dogs, Alt+R", Screen::Doggies, "pick", Qt::Key_R, "question");
        row("dogs, Alt+P", Screen::Doggies, "", Qt::Key_P, "window ReportViewer");
        row("dogs, Alt+C", Screen::Doggies, "", Qt::Key_C, "window MainWindow");
        row("dogs, Alt+H", Screen::Doggies, "", Qt::Key_H, "window HealthWindow");
        row("dogs, Alt+J", Screen::Doggies, "", Qt::Key_J, "window JournalWindow");
        row("dogs, Alt+I", Screen::Doggies, "pick, edit", Qt::Key_I, "chooser");
        row("dogs, Alt+I does nothing while the picture is locked", Screen::Doggies, "pick", Qt::Key_I, "nothing");
        row("health, Alt+A", Screen::Health, "pick", Qt::Key_A, "imgAdd SAVE");
        row("health, Alt+A refused without a dog", Screen::Health, "", Qt::Key_A, "imgAdd ADD");
        row("health, Alt+E", Screen::Health, "pick, row", Qt::Key_E, "imgEdit SAVE");
        row("health, Alt+R", Screen::Health, "pick, row", Qt::Key_R, "question");
        row("health, Alt+P", Screen::Health, "", Qt::Key_P, "window ReportViewer");
        row("health, Alt+C", Screen::Health, "", Qt::Key_C, "window MainWindow");
        row("health, Alt+D", Screen::Health, "", Qt::Key_D, "window DogRegisterWindow");
        row("health, Alt+J", Screen::Health, "", Qt::Key_J, "window JournalWindow");
        row("journal, Alt+A, then Alt+O in the date picker", Screen::Journal, "pick, picker Alt+O", Qt::Key_A,
            "imgAdd SAVE");
        row("journal, Alt+A, then Alt+C in the date picker", Screen::Journal, "pick, picker Alt+C", Qt::Key_A,
            "imgAdd ADD");
        row("journal, Alt+E", Screen::Journal, "pick, row", Qt::Key_E, "imgEdit SAVE");
        row("journal, Alt+R", Screen::Journal, "pick, row", Qt::Key_R, "question");
        row("journal, Alt+P", Screen::Journal, "", Qt::Key_P, "window ReportViewer");
        row("journal, Alt+C", Screen::Journal, "", Qt::Key_C, "window MainWindow");
        row("journal, Alt+H", Screen::Journal, "", Qt::Key_H, "window HealthWindow");
        row("journal, Alt+D", Screen::Journal, "", Qt::Key_D, "window DogRegisterWindow");
        row("viewer, Alt+P", Screen::ReportViewer, "", Qt::Key_P, "printed");
        row("viewer, Alt+C", Screen::ReportViewer, "", Qt::Key_C, "window HealthWindow");
    }
    void altKeys()
    {
        QFETCH(Screen, screen);
        QFETCH(QString, prepare);
        QFETCH(int, key);
        QFETCH(QString, expect);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        folder.write(files::Health, rawbytes::health(1, 3, "5/12/2003", "Rabies"));
        folder.write(files::Journal, rawbytes::journal(1, 3, "3-2-2005", "Park"));
        App app(folder.folder());
        ScriptedPromptsScope prompts;
        QWidget* w = nullptr;
        if (screen == Screen::ReportViewer) { // a health report, printed to a file
            w = app.navigator.go(Screen::Health);
            click(qobject_cast<RegisterWindow*>(w)->imgPrint);
            w = app.navigator.current();
            qobject_cast<ReportViewer*>(w)->setPrintFile(folder.path(QStringLiteral("printed.pdf")));
        } else {
            w = app.navigator.go(screen);
        }
        if (prepare.contains(QStringLiteral("pick")))
            pickDog(w, 2);
        if (prepare.contains(QStringLiteral("row")))
            pickRow(w->findChild<QAbstractItemView*>(screen == Screen::Health ? QStringLiteral("vaccinationGrid")
                                                                              : QStringLiteral("lbDates")),
                    0);
        if (prepare.contains(QStringLiteral("edit")))
            click(child(w, "imgEdit"));
        QObject scope; // the answer below ends with the test
        prompts->answers = {false};
        w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w);
        bool pickerStayed = false; // closed by its picture so that the test fails rather than hangs
        if (prepare.contains(QStringLiteral("picker"))) {
            const Qt::Key pickerKey = prepare.endsWith(u'O') ? Qt::Key_O : Qt::Key_C;
            QTimer::singleShot(0, &scope, [pickerKey, &pickerStayed] {
                auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget());
                if (!picker)
                    return;
                picker->activateWindow();
                (void)QTest::qWaitFor([picker] { return QApplication::activeWindow() == picker; }, 2000);
                QTest::keyClick(picker, Qt::Key_Return); // Enter and Escape do nothing there
                QTest::keyClick(picker, Qt::Key_Escape);
                QTest::keyClick(picker, pickerKey, Qt::AltModifier);
                if (picker->isVisible()) {
                    pickerStayed = true;
                    picker->imgClose_Click();
                }
            });
        }
        QTest::keyClick(w, Qt::Key(key), Qt::AltModifier);
        settle();
        QVERIFY(!pickerStayed);
        QVERIFY(!QApplication::activeModalWidget());

        const QStringList words = expect.split(u' ');
        if (words[0] == u"window") {
            QCOMPARE(app.navigator.current()->objectName(), words[1]);
            // The window opened takes the keyboard, so that the next key works there.
            QTRY_COMPARE(QApplication::activeWindow(), app.navigator.current());
        } else if (expect == u"quit") {
            QCOMPARE(app.quitCount, 1);
        } else if (words.size() == 2 && words[0].startsWith(u"img")) {
            QCOMPARE(qobject_cast<PictureControl*>(child(w, qPrintable(words[0])))->tag(), words[1]);
        } else if (expect == u"question") {
            QCOMPARE(prompts->shown.size(), 1);
            QVERIFY(prompts->shown.first().question);
        } else if (expect == u"chooser") {
            QCOMPARE(prompts->chooserStarts.size(), 1);
        } else if (expect == u"printed") {
            QVERIFY(QFileInfo(folder.path(QStringLiteral("printed.pdf"))).size() > 0);
        } else {
            QCOMPARE(expect, QStringLiteral("nothing"));
            QVERIFY(prompts->shown.isEmpty());
            QCOMPARE(app.navigator.current(), w);
        }
        if (prepare.endsWith(QStringLiteral("Alt+O")))
            QCOMPARE(app.state.SelectedDate, DatePickerDialog::dateText(QDate::currentDate()));
        if (prepare.endsWith(QStringLiteral("Alt+C")))
            QCOMPARE(app.state.SelectedDate, QString());
    }

    // Add in the health register and the journal is for a dog picked in that window.
    void register_addNeedsADogPickedThere_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QString>("dog");
        for (const auto& [name, screen] :
             {std::pair{"health", Screen::Health}, std::pair{"journal", Screen::Journal}}) {
            for (const char* dog : {"none", "picked in another window", "erased since it was picked"})
                QTest::addRow("%s, %s", name, dog) << screen << QString::fromLatin1(dog);
        }
    }
    void register_addNeedsADogPickedThere()
    {
        QFETCH(Screen, screen);
        QFETCH(QString, dog);
        DataFolder folder;
        folder.write(files::Doggies, fourDogs());
        App app(folder.folder());
        if (dog == u"picked in another window")
            pickDog(app.navigator.go(Screen::Doggies), 2);
        auto* w = qobject_cast<RegisterWindow*>(app.navigator.go(screen));
        if (dog == u"erased since it was picked") {
            pickDog(w, 2);
            folder.write(files::Doggies, fourDogs().replace(2 * 439, 439, QByteArray(439, '\0')));
        }
        QObject scope; // the watch below ends with the test
        bool pickerShown = false;
        QTimer::singleShot(0, &scope, [&] {
            if (auto* picker = qobject_cast<DatePickerDialog*>(QApplication::activeModalWidget())) {
                pickerShown = true;
                click(picker->imgClose);
            }
        });
        click(w->imgAdd);
        QCoreApplication::processEvents();
        QVERIFY(!pickerShown);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        QCOMPARE(w->statusLine->text(), RegisterWindow::ReadyStatus);
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

    void print_opensTheViewerAndCloseReturns_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<QString>("reportType");
        QTest::newRow("dogs") << Screen::Doggies << QStringLiteral("Doggies");
        QTest::newRow("health") << Screen::Health << QStringLiteral("Health");
        QTest::newRow("journal") << Screen::Journal << QStringLiteral("Journal");
    }
    void print_opensTheViewerAndCloseReturns()
    {
        QFETCH(Screen, screen);
        QFETCH(QString, reportType);
        DataFolder folder;
        App app(folder.folder());
        auto* w = qobject_cast<RegisterWindow*>(app.navigator.go(screen));
        click(w->imgPrint);
        settle();
        QCOMPARE(app.state.ReportType, reportType);
        auto* viewer = qobject_cast<ReportViewer*>(app.navigator.current());
        QVERIFY(viewer);
        QCOMPARE(visibleWindows(), QList<QWidget*>{viewer});
        QCOMPARE(viewer->windowTitle(), QStringLiteral("VIEW"));
        QCOMPARE(viewer->size(), QSize(689, 561));
        QCOMPARE(viewer->previewFrame->title(), QStringLiteral("Preview:"));
        click(viewer->cmdClose);
        settle();
        QVERIFY(app.state.ReportType.isEmpty());
        QCOMPARE(visibleWindows().size(), 1);
        QCOMPARE(visibleWindows().first()->objectName(), QLatin1String(windowName(screen)));
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
            QTRY_VERIFY2((said += firstRun.readAllStandardError()).contains("coming to the front"), said.constData());
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
