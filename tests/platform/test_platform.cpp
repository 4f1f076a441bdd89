#include "TestSupport.h"

#include "platform/DateTest.h"
#include "records/FileError.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // The real dialogs: what they show is read, then they are answered, so
    // that one unlike the one expected fails the test instead of waiting.
    void prompts_realDialogs()
    {
        QStringList seen;
        auto answer = [&seen](QMessageBox::StandardButton press) {
            QTimer::singleShot(0, [&seen, press] {
                QWidget* modal = QApplication::activeModalWidget();
                const QCursor* pointer = QApplication::overrideCursor();
                seen = QStringList{modal ? modal->windowTitle() : QStringLiteral("no dialog"),
                                   !pointer || pointer->shape() == Qt::ArrowCursor ? "ordinary pointer" : "hourglass"};
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    seen << box->text() << QString::number(box->icon()) << QString::number(box->standardButtons())
                         << QString::number(box->defaultButton() ==
                                            static_cast<QAbstractButton*>(box->button(QMessageBox::Yes)));
                    box->button(press) ? box->button(press)->click() : box->reject();
                } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
                    seen << chooser->nameFilters() << chooser->selectedNameFilter() << chooser->defaultSuffix()
                         << QFileInfo(chooser->selectedFiles().value(0)).fileName();
                    chooser->reject();
                } else if (modal) {
                    modal->close();
                }
            });
        };
        answer(QMessageBox::Yes);
        QVERIFY(prompts().askYesNo(nullptr, QStringLiteral("DELETE!"), QStringLiteral("Delete Rex!")));
        QCOMPARE(seen,
                 QStringList({"DELETE!", "ordinary pointer", "Delete Rex!", QString::number(QMessageBox::Critical),
                              QString::number(QMessageBox::Yes | QMessageBox::No), "1"}));
        // Leaving with unsaved typing: No the default; the owner has the keyboard again after.
        QWidget owner;
        owner.show();
        answer(QMessageBox::Yes);
        QVERIFY(prompts().askYesNo(&owner, QStringLiteral("Doggies"), QStringLiteral("Leave?"), Prompts::Answer::No));
        QCOMPARE(seen.mid(3), QStringList({QString::number(QMessageBox::Warning),
                                           QString::number(QMessageBox::Yes | QMessageBox::No), "0"}));
        QTRY_COMPARE(QApplication::activeWindow(), &owner);
        answer(QMessageBox::Ok); // asked while the hourglass shows: the box has the ordinary pointer
        QApplication::setOverrideCursor(Qt::WaitCursor);
        reportFileError(nullptr, FileError(QStringLiteral("/data/doggies.dat"), QStringLiteral("written"),
                                           QStringLiteral("No space left on device")));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QCOMPARE(seen.mid(0, 2), QStringList({"Error!", "ordinary pointer"}));
        QCOMPARE(seen.value(3), QString::number(QMessageBox::Critical));
        for (const char* said : {"/data/doggies.dat", "could not be written", "No space left on device"})
            QVERIFY2(seen.value(2).contains(QLatin1String(said)), qPrintable(seen.value(2)));
        answer(QMessageBox::Cancel);
        const QStringList filters = {"Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)"};
        const DataFolder pictures; // the chooser opens on the picture chosen last
        QVERIFY(!prompts().chooseOpenFile(nullptr, QStringLiteral("SELECT"), filters, QStringLiteral("jpg"),
                                          pictures.path(QStringLiteral("doggie.gif"))));
        QCOMPARE(seen, QStringList({"SELECT", "ordinary pointer", "Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)",
                                    "Gif(*.gif)", "jpg", "doggie.gif"}));
        answer(QMessageBox::Ok); // a problem at start-up: a warning
        prompts().message(nullptr, QString(), QStringLiteral("No lock"), Prompts::Icon::Warning);
        QCOMPARE(seen.value(3), QString::number(QMessageBox::Warning));
    }

    void isDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("date");
        const QString dates = QStringLiteral(
            "5/12/2003|5-12-2003|2003-05-12|13/5/2003|5/12/03|5/12|July 4, 2005|4 Jul 2005|4-Jul-2005|  5/12/2003  |"
            "JULY 4 2005|jul 2005|5/2003|2003/5|2/29/2004|12/31/9999|1/1/100|1/1/0|5/12/2003 10:30 PM|"
            "5/12/2003 22:15:05|5/12/2003 9 am|December 25|2005, July 4|31/12/99|2/30|4 Jul");
        const QString notDates = QStringLiteral(
            "abc|5/12/2003x|2003|2/29/2003|32/1/2003|5.12.2003||   |10:30|10:30 PM|5/12/2003 25:00|5/12/2003 10:61|"
            "5//12|/5/12|5/12/|5/12/2003/1|1/1/10000|Sept 4 2005|4 July July 2005|Mon 5/12/2003|5/12/2003 10:30 XM|"
            "5/12/2003 10:30 -|13/13/2003|0/0/0|Feb 30 2005|5\u200B/12/2003|\u0665/12/2003|99999999999/1/1|"
            "5/12/1234567890|5/12/2003 0 AM|5/12/2003 10:30:|4294967296/1/1");
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

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
