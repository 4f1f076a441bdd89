#include "TestSupport.h"

#include "platform/ClickLabel.h"
#include "platform/DateTest.h"
#include "platform/EnterAsTab.h"
#include "platform/FormWindow.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/RowClicks.h"
#include "records/FileError.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

// A window with the key preview of the dog and health registers.
struct BoxesWindow {
    explicit BoxesWindow(bool keyPreview)
        : state(QDir::tempPath()), window(state, QStringLiteral("test"), 3000, 3000, Qt::white)
    {
        list = new QListWidget(&window);
        list->addItems({QStringLiteral("a"), QStringLiteral("b")});
        first = new QLineEdit(&window);
        second = new QLineEdit(&window);
        notes = new QPlainTextEdit(&window);
        list->setObjectName(QStringLiteral("list"));
        first->setObjectName(QStringLiteral("first"));
        second->setObjectName(QStringLiteral("second"));
        notes->setObjectName(QStringLiteral("notes"));
        if (keyPreview)
            new EnterAsTab(&window);
        window.show();
        window.activateWindow();
    }
    SharedState state;
    FormWindow window;
    QListWidget* list;
    QLineEdit* first;
    QLineEdit* second;
    QPlainTextEdit* notes;
};

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void picture_keepsThePreviousPictureOnFailure()
    {
        DataFolder folder;
        folder.write(QStringLiteral("broken.gif"), "GIF89a this is not a picture");
        PictureControl control;
        QVERIFY(control.load(folder.path(QStringLiteral("doggie.gif"))));
        QVERIFY(!control.load(folder.path(QStringLiteral("broken.gif"))));
        QVERIFY(!control.load(folder.path(QStringLiteral("missing.gif"))));
        QVERIFY(control.hasPicture());
        QCOMPARE(control.pictureFile(), folder.path(QStringLiteral("doggie.gif")));
        control.clear();
        QVERIFY(!control.hasPicture());
    }

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
            picture->setGeometry(10, 10, 80, 40);
            spy = std::make_unique<QSignalSpy>(picture, &PictureControl::clicked);
            target = picture;
        } else if (control == u"caption") {
            auto* caption = new ClickLabel(QStringLiteral("HEALTH"), &host);
            caption->setGeometry(10, 10, 80, 40);
            spy = std::make_unique<QSignalSpy>(caption, &ClickLabel::clicked);
            target = caption;
        } else {
            QAbstractItemView* view = nullptr;
            if (control == u"list") {
                auto* list = new QListWidget(&host);
                list->addItems({QStringLiteral("Bella"), QStringLiteral("Max")});
                view = list;
            } else {
                auto* grid = new QTableWidget(2, 2, &host);
                grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
                grid->setSelectionBehavior(QAbstractItemView::SelectRows);
                view = grid;
            }
            view->setGeometry(10, 10, 250, 150);
            spy = std::make_unique<QSignalSpy>(new RowClicks(view), &RowClicks::clicked);
            target = view->viewport();
            at = view->visualRect(view->model()->index(1, 0)).center();
        }
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        if (at.isNull())
            at = target->rect().center();
        if (gesture == u"one click" || gesture == u"disabled") {
            target->setEnabled(gesture != u"disabled");
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
        } else if (gesture == u"right click") {
            QTest::mouseClick(target, Qt::RightButton, {}, at);
        } else if (gesture == u"double-click") {
            doubleClick(target, at);
        } else if (gesture == u"two clicks") {
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
            QCoreApplication::processEvents();
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
        } else {
            QTest::mousePress(target, Qt::LeftButton, {}, at);
            QTest::mouseRelease(target, Qt::LeftButton, {}, target->rect().bottomRight() + QPoint(20, 20));
        }
        QCoreApplication::processEvents();
        QCOMPARE(spy->count(), clicks);
    }

    // Enter in the windows that ask for it: from a text box to the next;
    // elsewhere it does what the control does with it.
    void enter_data()
    {
        QTest::addColumn<bool>("keyPreview");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after"); // what has the focus, or the note's text
        QTest::newRow("a text box: on to the next") << true << "first" << int(Qt::Key_Return) << "second";
        QTest::newRow("the keypad's Enter too") << true << "first" << int(Qt::Key_Enter) << "second";
        QTest::newRow("a list keeps it") << true << "list" << int(Qt::Key_Return) << "list";
        QTest::newRow("a note box starts a line") << true << "notes" << int(Qt::Key_Return) << "a\nb";
        // The application sees every key: another window's boxes are left alone.
        QTest::newRow("a window without it") << false << "first" << int(Qt::Key_Return) << "first";
    }
    void enter()
    {
        QFETCH(bool, keyPreview);
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(QString, after);
        BoxesWindow other(true);
        BoxesWindow w(keyPreview);
        QWidget* focus = w.window.findChild<QWidget*>(control);
        w.window.activateWindow();
        focus->setFocus();
        QTRY_VERIFY(focus->hasFocus());
        QTest::keyClicks(focus, QStringLiteral("a"));
        QTest::keyClick(focus, Qt::Key(key));
        if (control == u"notes") {
            QTest::keyClicks(focus, QStringLiteral("b"));
            QCOMPARE(w.notes->toPlainText(), after);
            return;
        }
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), after);
        if (control == u"first")
            QCOMPARE(w.first->text(), QStringLiteral("a")); // the Enter typed nothing into the box
    }

    void window_refusesToBeClosedByTheUser()
    {
        BoxesWindow w(false);
        QVERIFY(!w.window.close()); // Alt+F4 and the title bar end up here
        QVERIFY(w.window.isVisible());
        QVERIFY(!(w.window.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(w.window.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(w.window.size(), QSize(200, 200));
    }

    // The real message boxes: what they show is read, then they are answered,
    // so that a box unlike the one expected fails the test instead of waiting.
    void prompts_realBoxes()
    {
        struct Seen {
            QString title;
            QString text;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            QMessageBox::StandardButtons buttons;
            QAbstractButton* defaultButton = nullptr;
            QAbstractButton* yes = nullptr;
            bool ordinaryPointer = false;
        };
        auto answer = [](Seen& seen, QMessageBox::StandardButton press) {
            QTimer::singleShot(0, [&seen, press] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                const QCursor* pointer = QApplication::overrideCursor();
                seen = {box->windowTitle(),
                        box->text(),
                        box->icon(),
                        box->standardButtons(),
                        box->defaultButton(),
                        box->button(QMessageBox::Yes),
                        !pointer || pointer->shape() == Qt::ArrowCursor};
                if (QAbstractButton* b = box->button(press))
                    b->click();
                else
                    box->reject();
            });
        };
        Seen question;
        answer(question, QMessageBox::Yes);
        QVERIFY(prompts().askYesNo(nullptr, QStringLiteral("DELETE!"), QStringLiteral("Delete Rex!")));
        QCOMPARE(question.title, QStringLiteral("DELETE!"));
        QCOMPARE(question.text, QStringLiteral("Delete Rex!"));
        QCOMPARE(question.icon, QMessageBox::Critical);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, question.yes);

        Seen error; // asked while the hourglass shows: the box has the ordinary pointer
        answer(error, QMessageBox::Ok);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        reportFileError(nullptr, FileError(QStringLiteral("/data/doggies.dat"), QStringLiteral("written"),
                                           QStringLiteral("No space left on device")));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(question.ordinaryPointer && error.ordinaryPointer);
        QCOMPARE(error.title, QStringLiteral("Error!"));
        QCOMPARE(error.icon, QMessageBox::Critical);
        QVERIFY(error.text.contains(QStringLiteral("/data/doggies.dat")));
        QVERIFY(error.text.contains(QStringLiteral("could not be written")));
        QVERIFY(error.text.contains(QStringLiteral("No space left on device")));
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
