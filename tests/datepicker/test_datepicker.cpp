#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "platform/PictureControl.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

class TestDatePicker : public QObject {
    Q_OBJECT
private slots:
    void dateText_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("shortest") << QDate(2005, 3, 1) << "3-1-2005";
        QTest::newRow("longest") << QDate(2005, 12, 31) << "12-31-2005";
        QTest::newRow("fourth of July") << QDate(2005, 7, 4) << "7-4-2005";
        QTest::newRow("Christmas") << QDate(2005, 12, 25) << "12-25-2005";
    }
    void dateText()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(DatePickerDialog::dateText(date), text);
    }

    void modal_okHandsBackTheChosenDay()
    {
        DataFolder folder;
        SharedState state(folder.folder());
        DatePickerDialog picker(state, nullptr);
        picker.load();
        QCOMPARE(picker.windowTitle(), QStringLiteral("SELECT A DATE TO USE"));
        QCOMPARE(picker.size(), QSize(385, 240));
        QCOMPARE(pictureOf(&picker, "imgOk"), QStringLiteral("doggie-ok.gif"));
        QCOMPARE(pictureOf(&picker, "imgClose"), QStringLiteral("doggie-close.gif"));
        QCOMPARE(pictureOf(&picker, "doggiePicture"), QStringLiteral("doggie.gif"));
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = QApplication::activeModalWidget() == &picker;
            QTest::keyClick(&picker, Qt::Key_Escape); // refused: only the pictures close it
            QVERIFY(picker.isVisible());
            QTest::keyClick(picker.calendar->findChild<QTableView*>(), Qt::Key_Right); // the keyboard moves the day
            click(picker.imgOk);
            if (picker.isVisible()) { // fail now rather than wait on the dialog
                picker.done(QDialog::Rejected);
                QFAIL("OK left the date picker open");
            }
        });
        picker.exec();
        QVERIFY(wasModal);
        QCOMPARE(state.SelectedDate, DatePickerDialog::dateText(QDate::currentDate().addDays(1)));
    }

    void modal_closeHandsBackNothing()
    {
        DataFolder folder;
        SharedState state(folder.folder());
        state.SelectedDate = QStringLiteral("7-4-2005");
        DatePickerDialog picker(state, nullptr);
        picker.load();
        QTimer::singleShot(0, [&] {
            QVERIFY(!picker.close()); // the title bar's way out is refused
            click(picker.imgClose);
            if (picker.isVisible()) {
                picker.done(QDialog::Rejected);
                QFAIL("Close left the date picker open");
            }
        });
        picker.exec();
        QCOMPARE(state.SelectedDate, QString());
    }

    void everyShowingStartsOnToday()
    {
        DataFolder folder;
        SharedState state(folder.folder());
        {
            DatePickerDialog picker(state, nullptr);
            picker.load();
            picker.calendar->setSelectedDate(QDate(2001, 2, 3));
            // Years of four digits only: the date text is 8 to 10 characters.
            for (const QDate day : {QDate(45, 12, 14), QDate(10000, 1, 1)}) {
                picker.calendar->setSelectedDate(day);
                picker.imgOk_Click();
                QCOMPARE(state.SelectedDate.section(u'-', 2).size(), 4);
            }
            picker.imgClose_Click();
        }
        DatePickerDialog again(state, nullptr);
        again.load();
        QCOMPARE(again.calendar->selectedDate(), QDate::currentDate());
        QCOMPARE(again.calendar->monthShown(), QDate::currentDate().month());
        again.imgOk_Click(); // untouched: today
        QCOMPARE(state.SelectedDate, DatePickerDialog::dateText(QDate::currentDate()));
    }
};

QTEST_MAIN(TestDatePicker)
#include "test_datepicker.moc"
