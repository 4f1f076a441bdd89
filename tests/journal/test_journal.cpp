#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "journal/JournalWindow.h"
#include "platform/PictureControl.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString kReady = QStringLiteral("Select doggie then click on a doggie bone to add, edit, erase, or print.");

QStringList dates(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// Dogs Bella (1), Rex (2), Max (3); journal entries of Max and others.
struct Fixture {
    explicit Fixture(QByteArray journalBytes = {})
    {
        if (journalBytes.isNull()) {
            journalBytes = rawbytes::journal(1, 3, "3-2-2005", "Park\r\nand a nap") +
                           rawbytes::journal(2, 1, "3-3-2005", "Bella's") + QByteArray(4114, '\0') +
                           rawbytes::journal(4, 3, "1-5-2005", "Snow") + rawbytes::journal(5, 3, "3-2-2005", "Later");
        }
        journal = journalBytes;
        folder.write(files::Doggies,
                     rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, "Rex") + rawbytes::doggie(3, "Max"));
        if (!journal.isEmpty())
            folder.write(files::Journal, journal);
        window = qobject_cast<JournalWindow*>(app.navigator.go(Screen::Journal));
    }
    DataFolder folder;
    App app{folder.folder()};
    ScriptedPromptsScope prompts;
    QByteArray journal;
    JournalWindow* window = nullptr;
};

} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void dates_listedInFileOrderForThePickedDog()
    {
        Fixture f;
        JournalWindow* w = f.window;
        QVERIFY(!w->txtEntry->isReadOnly()); // unlocked when the window opens
        pickDog(w, 2);
        QCOMPARE(dates(w->lbDates), QStringList({"3-2-2005  ", "1-5-2005  ", "3-2-2005  "}));
        QCOMPARE(f.app.state.JournalRecNo, 5);
        QVERIFY(w->txtEntry->isReadOnly());
        QCOMPARE(w->chosenEntry(), 0); // listing is no choice

        pickRow(w->lbDates, 0);
        QCOMPARE(w->txtEntry->toPlainText(), QStringLiteral("Park\nand a nap")); // without the padding
        QCOMPARE(f.app.state.SelectedDate, QStringLiteral("3-2-2005  "));
        pickRow(w->lbDates, 2); // the second entry of the same date is an entry of its own
        QCOMPARE(f.app.state.JournalRecNo, 5);
        QCOMPARE(w->txtEntry->toPlainText().trimmed(), QStringLiteral("Later"));

        pickDog(w, 1); // Rex has none: the box stays, locked
        QVERIFY(dates(w->lbDates).isEmpty());
        QCOMPARE(w->txtEntry->toPlainText().trimmed(), QStringLiteral("Later"));
        QCOMPARE(w->chosenEntry(), 0);
    }

    void add_firstEntryToAMissingFile()
    {
        Fixture f(QByteArray(""));
        JournalWindow* w = f.window;
        pickDog(w, 2);
        answerDatePicker(QDate(2005, 7, 4));
        click(w->imgAdd);
        QCOMPARE(f.app.state.SelectedDate, QStringLiteral("7-4-2005"));
        QCOMPARE(dates(w->lbDates), QStringList({"7-4-2005  "}));
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-save.gif"));
        QCOMPARE(w->statusLine->text(), QStringLiteral("Add your information and click on the save bone to save."));
        QVERIFY(!w->txtEntry->isReadOnly());
        click(w->imgAdd); // blank text: still waiting
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
        w->txtEntry->setPlainText(QStringLiteral("Fireworks,\nhid under the bed"));
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Journal), rawbytes::journal(1, 3, "7-4-2005", "Fireworks,\r\nhid under the bed"));
        QCOMPARE(f.app.state.JournalRecNo, 1);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        QCOMPARE(pictureOf(w, "imgAdd"), QStringLiteral("doggie-add.gif"));
        QVERIFY(w->txtEntry->isReadOnly());
        QCOMPARE(w->statusLine->text(), kReady);
        QCOMPARE(w->chosenEntry(), 1); // the entry just added can be edited

        pickRow(w->lbDates, 0);
        QCOMPARE(w->txtEntry->toPlainText().trimmed(), QStringLiteral("Fireworks,\nhid under the bed"));
    }

    void add_sameDateAsAnotherEntry_listsItsOwnItem()
    {
        Fixture f;
        JournalWindow* w = f.window;
        pickDog(w, 2);
        answerDatePicker(QDate(2005, 3, 2)); // Max has two entries of that day already
        click(w->imgAdd);
        w->txtEntry->setPlainText(QStringLiteral("Third walk"));
        click(w->imgAdd);
        QCoreApplication::processEvents();
        pickRow(w->lbDates, 3); // the item listed for the new entry stands for it
        QCOMPARE(w->txtEntry->toPlainText(), QStringLiteral("Third walk"));
        QCOMPARE(w->chosenEntry(), 6);
    }

    void add_cancelledOrWithoutADogDoesNothing()
    {
        Fixture f;
        JournalWindow* w = f.window;
        click(w->imgAdd); // DoggieRecNo 0: no picker at all
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        pickDog(w, 2);
        answerDatePicker(QDate());
        click(w->imgAdd);
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
        QCOMPARE(dates(w->lbDates).size(), 3);
        QCOMPARE(f.folder.read(files::Journal), f.journal);
    }

    void add_longEntry_data()
    {
        QTest::addColumn<int>("length"); // characters in the box
        QTest::addColumn<int>("lineBreakAt");
        QTest::addColumn<int>("over"); // bytes beyond what the record holds
        QTest::newRow("exactly 4096") << 4096 << -1 << 0;
        QTest::newRow("4097 is one over") << 4097 << -1 << 1;
        QTest::newRow("a line break counts two") << 4096 << 100 << 1;
        QTest::newRow("4095 with a line break fits") << 4095 << 100 << 0;
    }
    void add_longEntry()
    {
        QFETCH(int, length);
        QFETCH(int, lineBreakAt);
        QFETCH(int, over);
        Fixture f(QByteArray(""));
        JournalWindow* w = f.window;
        pickDog(w, 0);
        answerDatePicker(QDate(2005, 1, 2));
        click(w->imgAdd);
        QString text;
        for (int i = 0; i < length; ++i)
            text.append(i == lineBreakAt ? QChar(u'\n') : QChar(u'a' + i % 26));
        w->txtEntry->setPlainText(text);
        click(w->imgAdd);
        QByteArray stored = text.toLatin1().replace("\n", "\r\n");
        if (over > 0) { // said, not cut: the entry waits to be shortened
            QCOMPARE(f.prompts->shown.size(), 1);
            const QString message = f.prompts->shown.first().text;
            QVERIFY2(message.contains(QStringLiteral("4096")) && message.contains(QStringLiteral(" %1 ").arg(over)),
                     qPrintable(message));
            QVERIFY(f.folder.read(files::Journal).isEmpty());
            QCOMPARE(w->imgAdd->tag(), QStringLiteral("SAVE"));
            QCOMPARE(w->txtEntry->toPlainText(), text);
            text.chop(over);
            stored.chop(over);
            w->txtEntry->setPlainText(text);
            click(w->imgAdd);
        }
        QCOMPARE(f.folder.read(files::Journal), rawbytes::journal(1, 1, "1-2-2005", stored));
        QCOMPARE(w->imgAdd->tag(), QStringLiteral("ADD"));
    }

    void lineBreaks_roundTripTheOldBytes()
    {
        // Written by the old program: CR LF pairs, and a non-breaking space.
        const QByteArray old = rawbytes::journal(1, 1, "3-1-2005", "One\r\nTwo\xA0three\r\n\r\nFour");
        Fixture f(old);
        JournalWindow* w = f.window;
        pickDog(w, 0);
        pickRow(w->lbDates, 0);
        QVERIFY(w->txtEntry->toPlainText().startsWith(QStringLiteral("One\nTwo")));
        QCOMPARE(w->txtEntry->document()->blockCount(), 4);
        click(w->imgEdit);
        click(w->imgEdit); // saved unchanged
        QCOMPARE(f.folder.read(files::Journal), old);

        click(w->imgEdit); // what is typed at the end of the entry is kept
        QTest::keyClick(w->txtEntry, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(w->txtEntry, QStringLiteral(" and five"));
        click(w->imgEdit);
        QCOMPARE(f.folder.read(files::Journal),
                 rawbytes::journal(1, 1, "3-1-2005", "One\r\nTwo\xA0three\r\n\r\nFour and five"));
    }

    void enter_startsANewLine()
    {
        Fixture f(QByteArray(""));
        JournalWindow* w = f.window;
        pickDog(w, 0);
        answerDatePicker(QDate(2005, 1, 2));
        click(w->imgAdd);
        w->activateWindow();
        QTRY_VERIFY(w->txtEntry->hasFocus());
        QTest::keyClicks(w->txtEntry, QStringLiteral("Walk"));
        QTest::keyClick(w->txtEntry, Qt::Key_Return);
        QTest::keyClicks(w->txtEntry, QStringLiteral("Sleep"));
        click(w->imgAdd);
        QCOMPARE(f.folder.read(files::Journal), rawbytes::journal(1, 1, "1-2-2005", "Walk\r\nSleep"));
    }

    void edit_keepsTheEntrysOwnDate()
    {
        Fixture f;
        JournalWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->lbDates, 1);              // 1-5-2005, record 4
        answerDatePicker(QDate(2009, 9, 9)); // the picker is used again...
        click(w->imgAdd);
        QCOMPARE(f.app.state.SelectedDate, QStringLiteral("9-9-2009"));
        click(w->imgEdit); // ...and the entry is edited all the same
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("SAVE"));
        QVERIFY(!w->txtEntry->isReadOnly());
        w->txtEntry->setPlainText(QStringLiteral("Snow, lots of it"));
        click(w->imgEdit);
        QByteArray expected = f.journal;
        expected.replace(3 * 4114, 4114, rawbytes::journal(4, 3, "1-5-2005", "Snow, lots of it"));
        QCOMPARE(f.folder.read(files::Journal), expected);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        QCOMPARE(pictureOf(w, "imgEdit"), QStringLiteral("doggie-edit.gif"));
        QVERIFY(w->txtEntry->isReadOnly());
        QCOMPARE(w->statusLine->text(), QStringLiteral("Add your information and click on the save bone to save."));
    }

    void editAndErase_needAChosenEntry()
    {
        Fixture f;
        JournalWindow* w = f.window;
        pickDog(w, 2); // JournalRecNo is now 5, the record count: no choice
        f.prompts->answers = {true};
        click(w->imgEdit);
        QCOMPARE(w->imgEdit->tag(), QStringLiteral("EDIT"));
        click(w->imgErase);
        QVERIFY(f.prompts->shown.isEmpty());
        pickRow(w->lbDates, 0);
        pickDog(w, 0); // another dog ends the choice
        click(w->imgErase);
        QVERIFY(f.prompts->shown.isEmpty());
        QCOMPARE(f.folder.read(files::Journal), f.journal);
    }

    void erase_data()
    {
        QTest::addColumn<int>("dateRow");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("after");
        const QByteArray zero(4114, '\0');
        const QByteArray r1 = rawbytes::journal(1, 3, "3-2-2005", "Park\r\nand a nap");
        const QByteArray r2 = rawbytes::journal(2, 1, "3-3-2005", "Bella's");
        const QByteArray r4 = rawbytes::journal(4, 3, "1-5-2005", "Snow");
        const QByteArray r5 = rawbytes::journal(5, 3, "3-2-2005", "Later");
        QTest::newRow("middle") << 1 << true << r1 + r2 + zero + zero + r5;
        QTest::newRow("last shortens") << 2 << true << r1 + r2 + zero + r4;
        QTest::newRow("answered No") << 1 << false << r1 + r2 + zero + r4 + r5;
    }
    void erase()
    {
        QFETCH(int, dateRow);
        QFETCH(bool, yes);
        QFETCH(QByteArray, after);
        Fixture f;
        JournalWindow* w = f.window;
        pickDog(w, 2);
        pickRow(w->lbDates, dateRow);
        f.prompts->answers = {yes};
        click(w->imgErase);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().title, QStringLiteral("DELETE"));
        QCOMPARE(f.prompts->shown.first().text, QStringLiteral("Delete Max!"));
        QCOMPARE(f.folder.read(files::Journal), after);
        if (!yes)
            return;
        QVERIFY(dates(w->lbDates).isEmpty());
        QVERIFY(w->txtEntry->toPlainText().isEmpty());
        QCOMPARE(w->lbDoggieList->count(), 3);
        QVERIFY(w->lbDoggieList->selectedItems().isEmpty());
        QCOMPARE(w->shownDogName->text(), QStringLiteral("Max"));
        QCOMPARE(f.app.state.DoggieRecNo, 3);
        click(w->imgErase); // nothing chosen any more
        QCOMPARE(f.prompts->shown.size(), 1);
    }

    void layout()
    {
        Fixture f;
        JournalWindow* w = f.window;
        QCOMPARE(w->lbDates->geometry(), QRect(160, 56, 97, 242));
        QCOMPARE(w->txtEntry->geometry(), QRect(256, 56, 305, 241));
        QCOMPARE(w->txtEntry->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(w->lblDate->text(), QStringLiteral("Date"));
        QCOMPARE(w->lblEntry->text(), QStringLiteral("Journal Entry"));
    }
};

QTEST_MAIN(TestJournal)
#include "test_journal.moc"
