#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "doggies/DogRegisterWindow.h"
#include "health/FlexGrid.h"
#include "health/HealthWindow.h"
#include "journal/JournalWindow.h"
#include "platform/PictureControl.h"
#include "reports/ReportViewer.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <random>

namespace {

QByteArray garbage(qsizetype size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = char(random());
    return bytes;
}

// Goes through every entry of every list of a register window and prints its
// report: what a curious user does with whatever the files hold.
void useEverything(App& app, Screen screen)
{
    auto* w = qobject_cast<RegisterWindow*>(app.navigator.go(screen));
    for (int row = 0; row < w->lbDoggieList->count(); ++row) {
        pickDog(w, row);
        if (auto* health = qobject_cast<HealthWindow*>(w)) {
            for (int r = 0; r < health->vaccinationGrid->rowCount(); ++r)
                health->vaccinationGrid->selectRow(r);
        }
        if (auto* journal = qobject_cast<JournalWindow*>(w)) {
            for (int r = 0; r < journal->lbDates->count(); ++r)
                journal->lbDates->setCurrentRow(r);
        }
    }
    click(w->imgPrint);
    settle();
    QVERIFY(app.navigator.current()->isVisible());
}

const QString kHuge = QStringLiteral("huge.gif");

// A GIF that claims 20000 x 20000 pixels in a few bytes.
QByteArray hugeGif()
{
    QByteArray gif("GIF89a");
    gif += QByteArray("\x20\x4E\x20\x4E\x80\x00\x00", 7);              // screen 20000 x 20000, 2 colours
    gif += QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6);                  // the colour table
    gif += QByteArray("\x2C\x00\x00\x00\x00\x20\x4E\x20\x4E\x00", 10); // one image as large
    gif += QByteArray("\x02\x02\x44\x01\x00\x3B", 6);                  // a little data, the end
    return gif;
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("dogs");
        QTest::addColumn<QByteArray>("health");
        QTest::addColumn<QByteArray>("journal");
        QTest::newRow("empty") << QByteArray("") << QByteArray("") << QByteArray("");
        QTest::newRow("truncated") << rawbytes::doggie(1, "Rex").left(300)
                                   << rawbytes::health(1, 1, "1/1/2001", "x").left(50)
                                   << rawbytes::journal(1, 1, "1-1-2001", "x").left(3000);
        QTest::newRow("garbage") << garbage(439 * 5 + 17, 1) << garbage(68 * 40 + 3, 2) << garbage(4114 * 6 + 1000, 3);
        QByteArray nulNames = rawbytes::doggie(1, QByteArray(40, '\0')) + rawbytes::doggie(2, QByteArray("Re\0x", 4));
        QTest::newRow("names of NUL bytes")
            << nulNames << rawbytes::health(1, 2, QByteArray(10, '\0'), QByteArray(50, '\0'))
            << rawbytes::journal(1, 2, QByteArray(10, '\0'), QByteArray(4096, '\0'));
        // Every dog number a 32-bit field can hold, and some more garbage.
        QByteArray odd = garbage(68, 4);
        odd.replace(4, 4, rawbytes::int32le(-1));
        QTest::newRow("odd numbers") << rawbytes::doggie(-7, "Minus") << odd + rawbytes::health(2, 1, "1/1/2001", "x")
                                     << rawbytes::journal(0x7FFFFFFF, 1, "1-1-2001", "x");
    }
    void badFiles()
    {
        QFETCH(QByteArray, dogs);
        QFETCH(QByteArray, health);
        QFETCH(QByteArray, journal);
        DataFolder folder;
        folder.write(files::Doggies, dogs);
        folder.write(files::Health, health);
        folder.write(files::Journal, journal);
        ScriptedPromptsScope prompts;
        App app(folder.folder());
        useEverything(app, Screen::Doggies);
        useEverything(app, Screen::Health);
        useEverything(app, Screen::Journal);
        QCOMPARE(folder.read(files::Doggies), dogs); // reading changes nothing
        QCOMPARE(folder.read(files::Health), health);
        QCOMPARE(folder.read(files::Journal), journal);
        for (const auto& shown : prompts->shown) // the files are odd, not unreadable
            QVERIFY2(shown.text.contains(QStringLiteral("picture")), qPrintable(shown.text));
    }

    void nulNames_showAsEmptyEntries()
    {
        DataFolder folder;
        folder.write(files::Doggies,
                     rawbytes::doggie(1, QByteArray(40, '\0')) + rawbytes::doggie(2, QByteArray("Re\0x", 4)));
        App app(folder.folder());
        auto* w = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
        QCOMPARE(w->lbDoggieList->item(0)->text(), QString());
        QCOMPARE(w->lbDoggieList->item(1)->text(), QStringLiteral("Re"));
        pickDog(w, 0);
        QCOMPARE(app.state.DoggieRecNo, 0);
    }

    void hugeJournal_staysQuick()
    {
        // 200 MB of journal: 48,600 entries, every hundredth of dog 1.
        DataFolder folder;
        folder.write(files::Doggies, rawbytes::doggie(1, "Max"));
        {
            QFile file(folder.path(files::Journal));
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray other = rawbytes::journal(1, 2, "1-1-2001", "someone else's day");
            const QByteArray mine = rawbytes::journal(1, 1, "2-2-2002", "Max's day");
            for (int i = 0; i < 48600; ++i)
                file.write(i % 100 == 0 ? mine : other);
        }
        App app(folder.folder());
        auto* w = qobject_cast<JournalWindow*>(app.navigator.go(Screen::Journal));
        QElapsedTimer t;
        t.start();
        pickDog(w, 0);
        const qint64 listed = t.elapsed();
        QCOMPARE(w->lbDates->count(), 486);
        t.restart();
        w->lbDates->setCurrentRow(485);
        const qint64 chosen = t.elapsed();
        QCOMPARE(w->txtEntry->toPlainText().trimmed(), QStringLiteral("Max's day"));
        qInfo("200 MB journal: dates listed in %lld ms, the last entry shown in %lld ms", listed, chosen);
        QVERIFY(listed < 5000 && chosen < 5000);
    }

    void pictures_thatAreNoPictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QStringLiteral("notes.gif") << QByteArray("just words");
        QTest::newRow("20000 x 20000 GIF") << kHuge << hugeGif();
        QTest::newRow("cut-off GIF") << QStringLiteral("cut.gif") << QByteArray("GIF89a\x10\x00\x10", 9);
    }
    void pictures_thatAreNoPictures()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        DataFolder folder;
        folder.write(file, bytes);
        folder.write(files::Doggies, rawbytes::doggie(1, "Max", folder.path(file).toUtf8()));
        ScriptedPromptsScope prompts;
        App app(folder.folder());
        QElapsedTimer t;
        t.start();
        auto* w = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
        pickDog(w, 0); // shown without a word: the picture before stays
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-photo.gif"));
        click(w->imgEdit);
        prompts->files = {folder.path(file)};
        click(w->imgDoggiePic); // chosen: refused with a message
        QCOMPARE(prompts->shown.size(), 2);
        QCOMPARE(pictureOf(w, "imgDoggiePic"), QStringLiteral("no-photo.gif"));
        click(w->imgPrint); // in the report: one message, the text drawn
        settle();
        QCOMPARE(prompts->shown.size(), 3);
        QVERIFY(qobject_cast<ReportViewer*>(app.navigator.current())->isVisible());
        QVERIFY(t.elapsed() < 5000);
    }

    void hugeText_isCutToTheFieldOrRefused()
    {
        DataFolder folder;
        folder.write(files::Doggies, rawbytes::doggie(1, "Max"));
        App app(folder.folder());
        ScriptedPromptsScope prompts;
        const QString megabyte = QString(u'x').repeated(1 << 20);
        QApplication::clipboard()->setText(megabyte);

        auto* dogs = qobject_cast<DogRegisterWindow*>(app.navigator.go(Screen::Doggies));
        click(dogs->imgAdd);
        for (QLineEdit* box : dogs->findChildren<QLineEdit*>()) {
            box->setFocus();
            box->paste();
        }
        click(dogs->imgAdd);
        const QByteArray dog = folder.read(files::Doggies).mid(439);
        QCOMPARE(dog.size(), 439);
        QCOMPARE(dog.mid(4, 40), QByteArray(40, 'x'));
        QCOMPARE(dog.mid(84, 10), QByteArray(10, ' ')); // x's are no date
        QCOMPARE(dog.mid(94, 245), QByteArray(245, 'x'));

        auto* journal = qobject_cast<JournalWindow*>(app.navigator.go(Screen::Journal));
        pickDog(journal, 0);
        answerDatePicker(QDate(2005, 7, 4));
        click(journal->imgAdd);
        QElapsedTimer t;
        t.start();
        journal->txtEntry->selectAll();
        journal->txtEntry->paste();
        click(journal->imgAdd); // too long to keep: said so, nothing saved
        qInfo("1 MB pasted into the entry and its save refused in %lld ms", t.elapsed());
        QVERIFY(t.elapsed() < 3000);
        QCOMPARE(prompts->shown.size(), 1);
        QVERIFY(!folder.exists(files::Journal) || folder.read(files::Journal).isEmpty());
    }

    void foreignCharacters_areStoredAsQuestionMarks()
    {
        DataFolder folder;
        folder.write(files::Doggies, rawbytes::doggie(1, "Max"));
        App app(folder.folder());
        auto* health = qobject_cast<HealthWindow*>(app.navigator.go(Screen::Health));
        pickDog(health, 0);
        click(health->imgAdd);
        QTest::keyClicks(health->txtdate, QStringLiteral("5/12/2003"));
        // Typed as a keyboard of another language types them.
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                        QStringLiteral("\u72C2\u72AC\u75C5 Tollwut \U0001F489 caf\u00E9"));
        QApplication::sendEvent(health->txtvaccine, &typed);
        click(health->imgAdd);
        QCOMPARE(folder.read(files::Health), rawbytes::health(1, 1, "5/12/2003", "??? Tollwut ? caf\xE9"));
    }
};

QTEST_MAIN(TestBadInput)
#include "test_badinput.moc"
