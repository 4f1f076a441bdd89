#include "TestSupport.h"

#include "health/FlexGrid.h"
#include "health/HealthWindow.h"
#include "platform/PictureControl.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

const QString kReady = QStringLiteral("Select doggie then click on a doggie bone to add, edit, erase, or print.");
const QString kEntry = QStringLiteral("Enter information and click on the save bone to save.");

// The grid's rows below the header, each as "date|vaccine" with the padding trimmed.
QStringList gridRows(FlexGrid* grid)
{
    QStringList rows;
    for (int r = 1; r < grid->rows(); ++r)
        rows.append(grid->text(r, 0).trimmed() + u'|' + grid->text(r, 1).trimmed());
    return rows;
}

// Dogs Bella (1), Rex (2), Max (3); Max's vaccinations among others' records
// and an erased slot.
struct Fixture {
    explicit Fixture(QByteArray healthBytes = {})
    {
        if (healthBytes.isNull()) {
            healthBytes = rawbytes::health(1, 3, "10/20/2003", "Rabies") + rawbytes::health(2, 1, "1/1/2004", "Parvo") +
                          QByteArray(68, '\0') + rawbytes::health(4, 3, "12/5/2004", "Distemper") +
                          rawbytes::health(5, 3, "9/1/2003", "Lepto");
        }
        health = healthBytes;
        folder.write(files::Doggies,
                     rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, "Rex") + rawbytes::doggie(3, "Max"));
        folder.write(files::Health, health);
        window = qobject_cast<HealthWindow*>(app.navigator.go(Screen::Health));
    }
    DataFolder folder;
    App app{folder.folder()};
    ScriptedPromptsScope prompts;
    QByteArray health;
    HealthWindow* window = nullptr;
};

} // namespace

class TestHealth : public QObject {
    Q_OBJECT
private slots:
    void grid_listsThePickedDogSorted()
    {
        Fixture f;
        HealthWindow* w = f.window;
        QVERIFY(w->vaccinationGrid->isHidden());
        pickDog(w, 2);
        QVERIFY(w->vaccinationGrid->isVisible());
        QCOMPARE(w->vaccinationGrid->text(0, 0), QStringLiteral("Date Given"));
        QCOMPARE(w->vaccinationGrid->text(0, 1), QStringLiteral("Vaccine Given"));
        QCOMPARE(gridRows(w->vaccinationGrid),
                 QStringList({"9/1/2003|Lepto", "12/5/2004|Distemper", "10/20/2003|Rabies", "|"}));
        QCOMPARE(w->vaccinationGrid->text(1, 0), QStringLiteral("9/1/2003  "));
        QCOMPARE(w->vaccinationGrid->text(1, 1), QStringLiteral("Lepto").leftJustified(50));
        QCOMPARE(w->vaccinationGrid->columnWidth(0), 96);
        QCOMPARE(w->vaccinationGrid->columnWidth(1), 303);

        pickDog(w, 1); // Rex has none: the header and one empty row
        QCOMPARE(gridRows(w->vaccinationGrid), QStringList({"|"}));
        pickRow(w->vaccinationGrid, 0);
        QVERIFY(w->txtdate->text().isEmpty());
        QCOMPARE(f.app.state.HealthRecNo, 0);
    }

    void grid_tiesComeOutInTheSortsOwnOrder()
    {
        Fixture f(rawbytes::health(1, 1, "1", "w") + rawbytes::health(2, 1, "2", "x") +
                  rawbytes::health(3, 1, "1", "y") + rawbytes::health(4, 1, "2", "z"));
        pickDog(f.window, 0);
        QCOMPARE(gridRows(f.window->vaccinationGrid), QStringList({"2|z", "2|x", "1|w", "1|y", "|"}));
    }

    void grid_blankDateIsWrittenOverAndPartialRecordIgnored()
    {
        Fixture f(rawbytes::health(1, 1, "", "Lost") + rawbytes::health(2, 1, "3/3/2003", "Kept") +
                  rawbytes::health(3, 1, "4/4/2004", "Partial").left(60));
        pickDog(f.window, 0);
        QCOMPARE(gridRows(f.window->vaccinationGrid), QStringList({"3/3/2003|Kept", "|"}));
    }

    void click_showsTheRecordWithItsPadding()
    {
        Fixture f(rawbytes::health(1, 3, "5/12/2003", "Lepto") + rawbytes::health(2, 3, "5/12/2003", "Rabies") +
                  rawbytes::health(3, 3, "5/12/2003", "Rabies"));
        HealthWindow* w = f.window;
        pickDog(w, 2);
        // A row picks the first record with both its texts: either Rabies row
        // picks record 2, the Lepto row of the same day record 1.
        for (int row = 2; row >= 0; --row) {
            pickRow(w->vaccinationGrid, row);
            const QString vaccine = w->vaccinationGrid->text(row + 1, 1);
            QCOMPARE(f.app.state.HealthRecNo, vaccine.startsWith(QStringLiteral("Lepto")) ? 1 : 2);
            QCOMPARE(w->txtvaccine->text(), vaccine); // shown with its padding, from its start
            QCOMPARE(w->txtdate->text(), QStringLiteral("5/12/2003 "));
            QCOMPARE(w->txtvaccine->cursorPosition() + w->txtdate->cursorPosition(), 0);
        }
        QVERIFY(w->rowChosen());

        QCoreApplication::processEvents(); // a click of its own, not the second half of the pick above
        pickDog(w, 2);                     // the same dog again: the choice stays
        QVERIFY(w->rowChosen());
        pickDog(w, 1); // another dog: the boxes stay, the choice ends
        QCOMPARE(w->txtdate->text(), QStringLiteral("5/12/2003 "));
        QVERIFY(f.app.state.HealthRecNo > 0);
        QVERIFY(!w->rowChosen());
    }

    void add_valid()
    {
        Fixture f(rawbytes::health(1, 1, "a", "b") + rawbytes::health(2, 1, "a", "b") +
                  rawbytes::health(3, 2, "a", "b") + rawbytes::health(4, 2, "a", "b"));
        HealthWindow* w = f.window;
        pickDog(w, 2);
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("journal-add.gif"));
        click(w->imgAdd);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-save.gif"));
        QCOMPARE(w->statusLine->text(), kEntry);
        type(w->txtdate, QStringLiteral("5/12/2003"));
        type(w->txtvaccine, QStringLiteral("Rabies"));
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Health), f.health + rawbytes::health(5, 3, "5/12/2003", "Rabies"));
        QCOMPARE(f.app.state.HealthRecNo, 5);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-add.gif"));
        QCOMPARE(w->statusLine->text(), kReady);
        QVERIFY(w->txtdate->text().isEmpty());
        QCOMPARE(gridRows(w->vaccinationGrid), QStringList({"5/12/2003|Rabies", "|"}));
    }

    void add_invalid_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("vaccine");
        QTest::newRow("not a date") << "abc"
                                    << "Rabies";
        QTest::newRow("blank vaccine") << "5/12/2003"
                                       << "   ";
        QTest::newRow("empty date") << ""
                                    << "Rabies";
    }
    void add_invalid()
    {
        QFETCH(QString, date);
        QFETCH(QString, vaccine);
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        click(w->imgAdd);
        type(w->txtdate, date);
        type(w->txtvaccine, vaccine);
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Health), f.health);
        // The entry waits, as typed, for the user to put it right.
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-save.gif"));
        QCOMPARE(w->txtdate->text(), date);
        QCOMPARE(w->txtvaccine->text(), vaccine);
        QCOMPARE(w->statusLine->text(), kEntry);
        type(w->txtdate, QStringLiteral("6/1/2003"));
        type(w->txtvaccine, QStringLiteral("Lyme"));
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Health), f.health + rawbytes::health(6, 3, "6/1/2003", "Lyme"));
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
    }

    void add_longDateKeepsItsDay()
    {
        Fixture f(QByteArray(""));
        HealthWindow* w = f.window;
        pickDog(w, 0);
        click(w->imgAdd);
        type(w->txtdate, QStringLiteral("September 9, 2004"));
        type(w->txtvaccine, QStringLiteral("Lyme"));
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Health), rawbytes::health(1, 1, "9/9/2004", "Lyme"));
    }

    void add_endsTheChosenRow()
    {
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->vaccinationGrid, 1); // 12/5/2004 Distemper, record 4
        click(w->imgAdd);
        type(w->txtdate, QStringLiteral("1/2/2006"));
        type(w->txtvaccine, QStringLiteral("Typed"));
        f.prompts->answers = {true};
        click(w->imgErase); // while the add waits there is no chosen record
        click(w->imgEdit);
        click(w->imgEdit);
        QVERIFY(f.prompts->shown.isEmpty());
        QCOMPARE(f.folder.read(files::Health), f.health);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
    }

    void edit_keepsTheRecordsIdAndDog()
    {
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->vaccinationGrid, 1); // 12/5/2004 Distemper, record 4
        QCOMPARE(f.app.state.HealthRecNo, 4);
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("SAVE"));
        QCOMPARE(w->statusLine->text(), kReady); // edit leaves the status line
        type(w->txtvaccine, QStringLiteral("Distemper booster"));
        click(w->imgEdit);
        QByteArray expected = f.health;
        expected.replace(3 * 68, 68, rawbytes::health(4, 3, "12/5/2004", "Distemper booster"));
        QCOMPARE(f.folder.read(files::Health), expected);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        QCOMPARE(pictureOf(w, "imgEdit"), QStringLiteral("doggie-edit.gif"));
        QVERIFY(w->txtdate->text().isEmpty());
    }

    void edit_refusedAfterPickingAnotherDog()
    {
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->vaccinationGrid, 0);
        click(w->imgEdit);
        pickDog(w, 0); // Bella: the boxes still show Max's record
        type(w->txtvaccine, QStringLiteral("Moved?"));
        click(w->imgEdit);
        QCOMPARE(f.folder.read(files::Health), f.health);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        click(w->imgEdit); // and it cannot start again without a row of Bella's
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
    }

    void edit_refusedWithoutAChosenRow()
    {
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        type(w->txtdate, QStringLiteral("1/1/2001"));
        type(w->txtvaccine, QStringLiteral("Typed"));
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        click(w->imgErase);
        QVERIFY(f.prompts->shown.isEmpty());
        QCOMPARE(f.folder.read(files::Health), f.health);
    }

    void erase_data()
    {
        QTest::addColumn<int>("gridRow");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("typed"); // into the vaccine box before Erase
        const QByteArray zero(68, '\0');
        const QByteArray r1 = rawbytes::health(1, 3, "10/20/2003", "Rabies");
        const QByteArray r2 = rawbytes::health(2, 1, "1/1/2004", "Parvo");
        const QByteArray r4 = rawbytes::health(4, 3, "12/5/2004", "Distemper");
        const QByteArray r5 = rawbytes::health(5, 3, "9/1/2003", "Lepto");
        QTest::newRow("first") << 3 << true << zero + r2 + zero + r4 + r5 << "Delete Rabies!"
                               << "";
        QTest::newRow("middle") << 2 << true << r1 + r2 + zero + zero + r5 << "Delete Distemper!"
                                << "";
        QTest::newRow("last shortens") << 1 << true << r1 + r2 + zero + r4 << "Delete Lepto!"
                                       << "";
        QTest::newRow("answered No") << 1 << false << r1 + r2 + zero + r4 + r5 << "Delete Lepto!"
                                     << "";
        QTest::newRow("the question names the record, not the box")
            << 1 << true << r1 + r2 + zero + r4 << "Delete Lepto!"
            << "  Parvo  ";
    }
    void erase()
    {
        QFETCH(int, gridRow);
        QFETCH(bool, yes);
        QFETCH(QByteArray, after);
        QFETCH(QString, question);
        QFETCH(QString, typed);
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->vaccinationGrid, gridRow - 1);
        if (!typed.isEmpty())
            type(w->txtvaccine, typed);
        f.prompts->answers = {yes};
        click(w->imgErase);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().title, QStringLiteral("DELETE"));
        QCOMPARE(f.prompts->shown.first().text, question);
        QCOMPARE(f.folder.read(files::Health), after);
        QCOMPARE(w->txtdate->text().isEmpty(), yes);
        QCOMPARE(gridRows(w->vaccinationGrid).size(), yes ? 3 : 4);
        if (yes) {
            click(w->imgErase); // the erased row is no choice any more
            QCOMPARE(f.prompts->shown.size(), 1);
        }
    }

    void enter_movesFromDateToVaccine()
    {
        Fixture f;
        HealthWindow* w = f.window;
        w->activateWindow();
        w->txtdate->setFocus();
        QTRY_VERIFY(w->txtdate->hasFocus());
        QTest::keyClicks(w->txtdate, QStringLiteral("5/5/2005"));
        QTest::keyClick(w->txtdate, Qt::Key_Return);
        QVERIFY(w->txtvaccine->hasFocus());
        QCOMPARE(w->txtdate->text(), QStringLiteral("5/5/2005"));
    }

    void keyboard_movesThroughTheRows()
    {
        Fixture f;
        HealthWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->vaccinationGrid, 0);
        QTest::keyClick(w->vaccinationGrid, Qt::Key_Down);
        QCOMPARE(w->txtvaccine->text().trimmed(), QStringLiteral("Distemper"));
        QCOMPARE(f.app.state.HealthRecNo, 4);
    }
};

QTEST_MAIN(TestHealth)
#include "test_health.moc"
