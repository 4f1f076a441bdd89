#include "TestSupport.h"

#include "platform/ClickLabel.h"
#include "platform/DateTest.h"
#include "platform/PictureControl.h"
#include "platform/RowClicks.h"
#include "records/FileError.h"

#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // What the user does with the mouse, and how many clicks the control makes of it.
    void clicks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("clicks");
        for (const char* control : {"picture", "caption", "list", "grid"}) {
            QTest::addRow("%s, one click", control) << control << "one click" << 1;
            QTest::addRow("%s, a double-click is one click", control) << control << "double-click" << 1;
            QTest::addRow("%s, two clicks stay two", control) << control << "two clicks" << 2;
        }
        for (const char* control : {"picture", "caption"})
            QTest::addRow("%s, a release off the control cancels", control) << control << "drag off" << 0;
        QTest::newRow("picture, a right click is none") << "picture"
                                                        << "right click" << 0;
        QTest::newRow("picture, disabled it takes no click") << "picture"
                                                             << "disabled" << 0;
    }
    void clicks()
    {
        QFETCH(QString, control);
        QFETCH(QString, gesture);
        QFETCH(int, clicks);
        QWidget host;
        host.resize(300, 200);
        QWidget* target = nullptr; // what the mouse acts on
        QPoint at;
        std::unique_ptr<QSignalSpy> spy;
        if (control == u"picture") {
            auto* picture = new PictureControl(&host);
            spy = std::make_unique<QSignalSpy>(picture, &PictureControl::clicked);
            target = picture;
        } else if (control == u"caption") {
            auto* caption = new ClickLabel(QStringLiteral("HEALTH"), &host);
            spy = std::make_unique<QSignalSpy>(caption, &ClickLabel::clicked);
            target = caption;
        } else {
            QAbstractItemView* view = control == u"list" ? static_cast<QAbstractItemView*>(new QListWidget(&host))
                                                         : new QTableWidget(2, 2, &host);
            if (auto* list = qobject_cast<QListWidget*>(view))
                list->addItems({QStringLiteral("Bella"), QStringLiteral("Max")});
            view->setEditTriggers(QAbstractItemView::NoEditTriggers);
            view->setGeometry(10, 10, 250, 150);
            spy = std::make_unique<QSignalSpy>(new RowClicks(view), &RowClicks::clicked);
            target = view->viewport();
            at = view->visualRect(view->model()->index(1, 0)).center();
        }
        if (at.isNull()) { // a picture or a caption
            target->setGeometry(10, 10, 80, 40);
            at = target->rect().center();
        }
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        target->setEnabled(gesture != u"disabled");
        if (gesture == u"double-click") {
            doubleClick(target, at);
        } else if (gesture == u"drag off") {
            QTest::mousePress(target, Qt::LeftButton, {}, at);
            QTest::mouseRelease(target, Qt::LeftButton, {}, target->rect().bottomRight() + QPoint(20, 20));
        } else {
            for (int i = gesture == u"two clicks" ? 2 : 1; i > 0; --i) {
                QTest::mouseClick(target, gesture == u"right click" ? Qt::RightButton : Qt::LeftButton, {}, at);
                QCoreApplication::processEvents();
            }
        }
        QCoreApplication::processEvents();
        QCOMPARE(spy->count(), clicks);
    }

    // Alt+F4 and the title bar end in close(): a program window refuses it.
    void window_refusesToBeClosedByTheUser()
    {
        Session s;
        RUN(s, "go dogs");
        QVERIFY(!s.window()->close());
        QVERIFY(s.window()->isVisible());
        QVERIFY(!(s.window()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    }

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
                    seen << chooser->nameFilters() << chooser->selectedNameFilter() << chooser->defaultSuffix();
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
        answer(QMessageBox::Ok); // asked while the hourglass shows: the box has the ordinary pointer
        QApplication::setOverrideCursor(Qt::WaitCursor);
        reportFileError(nullptr, FileError(QStringLiteral("/data/doggies.dat"), QStringLiteral("written"),
                                           QStringLiteral("No space left on device")));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QCOMPARE(seen.mid(0, 2), QStringList({"Error!", "ordinary pointer"}));
        for (const char* said : {"/data/doggies.dat", "could not be written", "No space left on device"})
            QVERIFY2(seen.value(2).contains(QLatin1String(said)), qPrintable(seen.value(2)));
        answer(QMessageBox::Cancel);
        const QStringList filters = {"Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)"};
        QVERIFY(!prompts().chooseOpenFile(nullptr, QStringLiteral("SELECT"), filters, QStringLiteral("jpg"), {}));
        QCOMPARE(seen, QStringList({"SELECT", "ordinary pointer", "Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)",
                                    "Gif(*.gif)", "jpg"}));
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

    // What a 10-character date field keeps of a date text.
    void fitDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("fits: as typed") << "Sep 9 2004"
                                        << "Sep 9 2004";
        QTest::newRow("only spaces beyond: as typed") << "5/12/2003    "
                                                      << "5/12/2003    ";
        QTest::newRow("month written out") << "September 9, 2004"
                                           << "9/9/2004";
        QTest::newRow("leading spaces") << "   12/25/2005"
                                        << "12/25/2005";
        QTest::newRow("with a time") << "2003-05-12 10:30 PM"
                                     << "5/12/2003";
        QTest::newRow("day before month") << "31/12/1999 9:00"
                                          << "12/31/1999";
    }
    void fitDate()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(::fitDate(text, 10), stored);
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
