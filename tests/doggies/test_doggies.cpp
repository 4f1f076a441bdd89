#include "TestSupport.h"

#include "doggies/DogRegisterWindow.h"
#include "platform/PictureControl.h"
#include "records/FixedText.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

namespace {

const QString kReady = QStringLiteral("Select doggie then click on a doggie bone to add, edit, erase, or print.");
const QString kEntry = QStringLiteral("Enter your information and then click the save doggie bone.");

QList<QByteArray> rexTexts(const QByteArray& picture)
{
    return {"Rex",      "Rex of Riverside", "5/12/2003", "L-123",    "Kennel", "Dr. Vet", "1 High St, Town",
            "555-0100", "555-0199",         "Groomy",    "555-0123", picture};
}

// Bella (no picture), Rex (all particulars and a picture), Max (a name only),
// with vaccinations and journal entries of all three.
struct Fixture {
    Fixture()
    {
        QFile::copy(folder.path(QStringLiteral("poorlydog.gif")), folder.path(QStringLiteral("rex.gif")));
        rexPicture = folder.path(QStringLiteral("rex.gif")).toUtf8();
        dogs = rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, rexTexts(rexPicture)) + rawbytes::doggie(3, "Max");
        health = rawbytes::health(1, 2, "1/1/2004", "Rabies") + rawbytes::health(2, 1, "2/2/2004", "Parvo") +
                 rawbytes::health(3, 3, "3/3/2004", "Lepto") + rawbytes::health(4, 2, "4/4/2004", "Kennel cough");
        journal = rawbytes::journal(1, 1, "1-1-2005", "Bella's day") + rawbytes::journal(2, 3, "2-2-2005", "Max") +
                  rawbytes::journal(3, 3, "3-3-2005", "Max again");
        folder.write(files::Doggies, dogs);
        folder.write(files::Health, health);
        folder.write(files::Journal, journal);
        window = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
    }
    DataFolder folder;
    App app{folder.folder()};
    ScriptedPromptsScope prompts;
    QByteArray rexPicture;
    QByteArray dogs;
    QByteArray health;
    QByteArray journal;
    DogRegisterWindow* window = nullptr;
};

} // namespace

class TestDoggies : public QObject {
    Q_OBJECT
private slots:
    void opens_lockedAndBlank()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        QCOMPARE(w->lbDoggieList->count(), 3);
        QVERIFY(w->txtName->isReadOnly());
        QVERIFY(w->txtGroomerPhoneNo->isReadOnly());
        QVERIFY(!w->imgDoggiePic->isEnabled());
        QVERIFY(w->txtName->text().isEmpty());
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-photo.gif"));
        QCOMPARE(w->statusLine->text(), kReady);
        QCOMPARE(w->txtVetAddress->geometry(), QRect(160, 296, 193, 19));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblVetEmergencyNo"))->text(),
                 QStringLiteral("Vet. Emergency No.:"));
    }

    void select_showsTheWholeFields()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 1);
        QCOMPARE(f.app.state.DoggieRecNo, 2);
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Rex"));
        QCOMPARE(w->txtName->text(), QStringLiteral("Rex").leftJustified(40));
        QCOMPARE(w->txtBirthDate->text(), QStringLiteral("5/12/2003 "));
        QCOMPARE(w->txtVetAddress->text(), QStringLiteral("1 High St, Town").leftJustified(40));
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("rex.gif"));
        QVERIFY(w->txtName->isReadOnly()); // picking a dog does not unlock

        pickDog(w, 0); // no picture of her own
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-pic.gif"));
        pickDog(w, 1);
        QFile::remove(QString::fromUtf8(f.rexPicture)); // a picture that is gone keeps the one shown
        pickDog(w, 0);
        pickDog(w, 1);
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-pic.gif"));
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Rex"));
    }

    void add_toAMissingFile()
    {
        DataFolder folder;
        App app(folder.folder());
        auto* w = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
        QVERIFY(folder.exists(files::Doggies)); // opening the window creates it empty
        click(w->imgAdd);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-save.gif"));
        QCOMPARE(w->statusLine->text(), kEntry);
        QVERIFY(!w->txtName->isReadOnly());
        type(w->txtName, QStringLiteral("Rex"));
        type(w->txtBirthDate, QStringLiteral("July 14, 2003"));
        click(w->imgAdd);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-add.gif"));
        QCOMPARE(w->statusLine->text(), kReady);
        QList<QByteArray> texts{"Rex", {}, "7/14/2003"}; // too long a date keeps its day
        QCOMPARE(folder.read(files::Doggies), rawbytes::doggie(1, texts));
        QCOMPARE(app.state.DoggieRecNo, 1);
        QVERIFY(!w->txtName->isReadOnly()); // the fields stay unlocked
        QCOMPARE(w->txtName->text(), QStringLiteral("Rex"));
    }

    void add_startsFromABlankDog()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 1); // Rex, with everything filled in
        click(w->imgAdd);
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-photo.gif"));
        QVERIFY(w->txtVetName->text().isEmpty());
        type(w->txtName, QStringLiteral("Pip"));
        type(w->txtBirthDate, QStringLiteral("not a date"));
        click(w->imgAdd);
        const QByteArray bytes = f.folder.read(files::Doggies);
        QCOMPARE(bytes.size(), 4 * 439);
        QCOMPARE(bytes.left(3 * 439), f.dogs);
        QCOMPARE(bytes.mid(3 * 439), rawbytes::doggie(4, "Pip"));
        QCOMPARE(f.app.state.DoggieRecNo, 4);
        QCOMPARE(w->lbDoggieList->count(), 4);
        QCOMPARE(w->lbDoggieList->item(3)->text(), QStringLiteral("Pip"));
        QVERIFY(w->lbDoggieList->selectedItems().isEmpty());
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Rex"));

        // The dog just added can be edited at once.
        click(w->imgEdit);
        type(w->txtCameFrom, QStringLiteral("Shelter"));
        click(w->imgEdit);
        QCOMPARE(f.folder.read(files::Doggies).mid(3 * 439),
                 rawbytes::doggie(4, QList<QByteArray>{"Pip", {}, {}, {}, "Shelter"}));
    }

    void edit_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("field"); // index of the text in the record
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("emptied vet clears it") << "txtVetName"
                                               << "" << 5 << QByteArray();
        QTest::newRow("blanked groomer clears it") << "txtGroomerName"
                                                   << "   " << 9 << QByteArray();
        QTest::newRow("changed phone") << "txtVetPhoneNo"
                                       << "555-9999" << 7 << QByteArray("555-9999");
        QTest::newRow("long text is cut") << "txtVetPhoneNo"
                                          << "0123456789ABCDEFGH" << 7 << QByteArray("0123456789ABCDE");
        QTest::newRow("not a date keeps the birth date") << "txtBirthDate"
                                                         << "soon" << 2 << QByteArray("5/12/2003");
        QTest::newRow("emptied birth date clears it") << "txtBirthDate"
                                                      << "" << 2 << QByteArray();
        QTest::newRow("long date is kept as m/d/yyyy") << "txtBirthDate"
                                                       << "September 9, 2004" << 2 << QByteArray("9/9/2004");
        QTest::newRow("date that fits is kept as typed") << "txtBirthDate"
                                                         << "Sep 9 2004" << 2 << QByteArray("Sep 9 2004");
    }
    void edit()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, field);
        QFETCH(QByteArray, stored);
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 1);
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("SAVE"));
        QCOMPARE(w->statusLine->text(), kEntry);
        type(w->findChild<QLineEdit*>(box), typed);
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        QCOMPARE(pictureOf(w, "imgEdit"), QStringLiteral("doggie-edit.gif"));
        QList<QByteArray> texts = rexTexts(f.rexPicture);
        texts[field] = stored;
        QByteArray expected = f.dogs;
        expected.replace(439, 439, rawbytes::doggie(2, texts));
        QCOMPARE(f.folder.read(files::Doggies), expected);
        QCOMPARE(w->statusLine->text(), kReady);
    }

    void editAndErase_needAShownDog()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        f.app.state.DoggieRecNo = 2; // picked in another window: not shown here
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        click(w->imgErase);
        QVERIFY(f.prompts->shown.isEmpty());
        QCOMPARE(f.folder.read(files::Doggies), f.dogs);

        // A dog saved without a name is shown, edited and erased like any other.
        f.folder.write(files::Doggies, f.dogs + rawbytes::doggie(4, ""));
        w = qobject_cast<DogRegisterWindow*>(f.app.navigator.go(Screen::Doggies));
        pickDog(w, 3);
        QCOMPARE(f.app.state.DoggieRecNo, 4);
        click(w->imgEdit);
        type(w->txtVetName, QStringLiteral("Dr. Who"));
        click(w->imgEdit);
        QCOMPARE(f.folder.read(files::Doggies).mid(3 * 439),
                 rawbytes::doggie(4, QList<QByteArray>{{}, {}, {}, {}, {}, "Dr. Who"}));
        f.prompts->answers = {true};
        click(w->imgErase);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().text, QStringLiteral("Delete ") + QString(40, u' ') + u'!');
        QCOMPARE(f.folder.read(files::Doggies), f.dogs);
    }

    void erase_askedAndAnsweredNo()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 1);
        click(w->imgErase);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().title, QStringLiteral("DELETE!"));
        QCOMPARE(f.prompts->shown.first().text, QStringLiteral("Delete Rex") + QString(37, u' ') + u'!');
        QVERIFY(f.prompts->shown.first().question);
        QCOMPARE(f.folder.read(files::Doggies), f.dogs);
        QCOMPARE(w->txtName->text(), QStringLiteral("Rex").leftJustified(40));
    }

    void erase_middleDogWithItsRecords()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 1);
        click(w->imgEdit); // an edit of the dog waits...
        type(w->txtVetName, QStringLiteral("Dr. Gone"));
        f.prompts->answers = {true};
        click(w->imgErase);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT")); // ...and ends with the dog
        QCOMPARE(pictureOf(w, "imgEdit"), QStringLiteral("doggie-edit.gif"));
        QCOMPARE(w->statusLine->text(), kReady);
        QCOMPARE(f.folder.read(files::Doggies).size(), 1317);
        QCOMPARE(f.folder.read(files::Doggies).mid(439, 439), QByteArray(439, '\0'));
        QCOMPARE(w->lbDoggieList->count(), 3);
        QCOMPARE(w->lbDoggieList->item(1)->text(), QString());
        QVERIFY(w->txtName->text().isEmpty());
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Rex"));
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("rex.gif"));
        QCOMPARE(f.app.state.DoggieRecNo, 2);
        // Rex's vaccinations go: the first becomes an erased slot, the last is cut off.
        QCOMPARE(f.folder.read(files::Health), QByteArray(68, '\0') + f.health.mid(68, 2 * 68));
        QCOMPARE(f.folder.read(files::Journal), f.journal); // Rex had no entries

        click(w->imgErase); // nothing shown any more
        QCOMPARE(f.prompts->shown.size(), 1);
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
    }

    void erase_lastDogFreesItsNumber()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 2);
        f.prompts->answers = {true};
        click(w->imgErase);
        QCOMPARE(f.folder.read(files::Doggies), f.dogs.left(878));
        QCOMPARE(f.folder.read(files::Journal), f.journal.left(4114));
        QCOMPARE(f.folder.read(files::Health), f.health.left(2 * 68) + QByteArray(68, '\0') + f.health.mid(3 * 68));
        click(w->imgAdd);
        type(w->txtName, QStringLiteral("Newbie"));
        click(w->imgAdd);
        QCOMPARE(f.app.state.DoggieRecNo, 3);
        QCOMPARE(f.folder.read(files::Doggies).mid(878), rawbytes::doggie(3, "Newbie"));
    }

    void erase_refusedWhileAddWaits()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        click(w->imgAdd);
        type(w->txtName, QStringLiteral("Someone"));
        pickDog(w, 1); // a dog picked while the add waits
        f.prompts->answers = {true};
        click(w->imgErase);
        QVERIFY(f.prompts->shown.isEmpty());
        QCOMPARE(f.folder.read(files::Doggies), f.dogs);
    }

    void bones_areIndependent()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        pickDog(w, 0);
        click(w->imgEdit);
        click(w->imgAdd);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("SAVE"));
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
        QCOMPARE(pictureOf(w, "imgEdit"), QStringLiteral("doggie-save.gif"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-save.gif"));
        type(w->txtName, QStringLiteral("Pip"));
        click(w->imgEdit); // the new dog's particulars never go over Bella
        QCOMPARE(f.folder.read(files::Doggies), f.dogs);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Doggies), f.dogs + rawbytes::doggie(4, "Pip"));
    }

    void enter_movesFromBoxToBox()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        w->activateWindow();
        click(w->imgAdd);
        QTRY_VERIFY(w->txtName->hasFocus());
        QTest::keyClicks(w->txtName, QStringLiteral("Rex"));
        QTest::keyClick(w->txtName, Qt::Key_Return);
        QVERIFY(w->txtPedigreeName->hasFocus());
        QCOMPARE(w->txtName->text(), QStringLiteral("Rex"));
        w->lbDoggieList->setFocus();
        QTest::keyClick(w->lbDoggieList, Qt::Key_Return);
        QVERIFY(w->lbDoggieList->hasFocus());
    }

    void picture_chooser()
    {
        Fixture f;
        DogRegisterWindow* w = f.window;
        click(w->imgDoggiePic); // locked: no chooser
        QVERIFY(f.prompts->shown.isEmpty());
        pickDog(w, 0);
        click(w->imgEdit);
        click(w->imgDoggiePic); // cancelled the first time: no picture
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-photo.gif"));
        QCOMPARE(f.prompts->shown.last().title, QStringLiteral("SELECT A PICTURE OF YOUR DOGGIE"));
        const QString dogtail = f.folder.path(QStringLiteral("dogtail.gif"));
        f.prompts->files = {dogtail};
        click(w->imgDoggiePic);
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("dogtail.gif"));
        click(w->imgDoggiePic); // cancelled later: the name chosen before comes back
        QCOMPARE(f.prompts->chooserStarts.last(), dogtail);
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("dogtail.gif"));
        click(w->imgEdit);
        QCOMPARE(f.folder.read(files::Doggies).left(439), rawbytes::doggie(1, "Bella", dogtail.toUtf8()));
    }

    void picture_refused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("path of 120 characters")
            << QString(u'p').repeated(110) + QStringLiteral(".gif") << QStringLiteral("100");
        QTest::newRow("not a picture") << QStringLiteral("notes.gif") << QStringLiteral("could not be read");
        QTest::newRow("outside the code page") << QStringLiteral("\u738B.gif") << QStringLiteral("characters");
    }
    void picture_refused()
    {
        QFETCH(QString, name);
        QFETCH(QString, why);
        Fixture f;
        const QString path = f.folder.path(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) // may be too long a name for the file system
            file.write("plain text");
        DogRegisterWindow* w = f.window;
        pickDog(w, 1);
        click(w->imgEdit);
        f.prompts->files = {path};
        click(w->imgDoggiePic);
        QCOMPARE(f.prompts->shown.size(), 2);
        QVERIFY2(f.prompts->shown.last().text.contains(why), qPrintable(f.prompts->shown.last().text));
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("rex.gif"));
        click(w->imgEdit);
        QCOMPARE(f.folder.read(files::Doggies), f.dogs); // Picture kept as it was
    }

    void picture_realDialog()
    {
        installPrompts(nullptr); // the real dialogs for this test
        DataFolder folder;
        App app(folder.folder());
        auto* w = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
        click(w->imgAdd);
        QString title;
        QStringList filters;
        QString filter;
        QString suffix;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) { // fail now rather than wait on another dialog
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                QFAIL("no file chooser");
            }
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            filter = dialog->selectedNameFilter();
            suffix = dialog->defaultSuffix();
            dialog->setDirectory(folder.folder());
            dialog->selectFile(QStringLiteral("doggie.gif"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        click(w->imgDoggiePic);
        QCOMPARE(title, QStringLiteral("SELECT A PICTURE OF YOUR DOGGIE"));
        QCOMPARE(filters, QStringList({"Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)"}));
        QCOMPARE(filter, QStringLiteral("Gif(*.gif)"));
        QCOMPARE(suffix, QStringLiteral("jpg"));
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("doggie.gif"));
    }
};

QTEST_MAIN(TestDoggies)
#include "test_doggies.moc"
