#include "TestSupport.h"

#include "platform/ClickLabel.h"
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

    void picture_clicksOnlyWhileEnabled()
    {
        PictureControl control;
        control.resize(50, 20);
        control.setTag(QStringLiteral("ADD"));
        control.setTip(QStringLiteral("ADD DOGGIE"));
        QSignalSpy clicks(&control, &PictureControl::clicked);
        QTest::mouseClick(&control, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(&control, Qt::RightButton);
        QCOMPARE(clicks.count(), 1);
        control.setEnabled(false);
        QTest::mouseClick(&control, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(control.tag(), QStringLiteral("ADD"));
        QCOMPARE(control.accessibleName(), QStringLiteral("ADD DOGGIE"));
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
        if (gesture == u"one click") {
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
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

    void enter_movesOnFromATextBox()
    {
        BoxesWindow w(true);
        w.first->setFocus();
        QTRY_VERIFY(w.first->hasFocus());
        QTest::keyClicks(w.first, QStringLiteral("Rex"));
        QTest::keyClick(w.first, Qt::Key_Return);
        QTRY_VERIFY(w.second->hasFocus());
        QCOMPARE(w.first->text(), QStringLiteral("Rex"));
        QTest::keyClick(w.second, Qt::Key_Enter); // the keypad's Enter too
        QVERIFY(!w.second->hasFocus());
    }

    void enter_staysInAListAndStartsALineInANoteBox()
    {
        BoxesWindow w(true);
        w.list->setFocus();
        QTRY_VERIFY(w.list->hasFocus());
        QTest::keyClick(w.list, Qt::Key_Return);
        QVERIFY(w.list->hasFocus());

        w.notes->setFocus();
        QTRY_VERIFY(w.notes->hasFocus());
        QTest::keyClicks(w.notes, QStringLiteral("a"));
        QTest::keyClick(w.notes, Qt::Key_Return);
        QTest::keyClicks(w.notes, QStringLiteral("b"));
        QCOMPARE(w.notes->toPlainText(), QStringLiteral("a\nb"));
    }

    void enter_withoutKeyPreviewStaysInTheBox()
    {
        BoxesWindow w(false);
        w.first->setFocus();
        QTRY_VERIFY(w.first->hasFocus());
        QTest::keyClick(w.first, Qt::Key_Return);
        QVERIFY(w.first->hasFocus());
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

    void prompts_realQuestionBox()
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* yes = nullptr;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            defaultButton = box->defaultButton();
            yes = box->button(QMessageBox::Yes);
            QVERIFY(box->button(QMessageBox::No));
            QTest::mouseClick(yes, Qt::LeftButton);
        });
        QVERIFY(prompts().askYesNo(nullptr, QStringLiteral("DELETE!"), QStringLiteral("Delete Rex!")));
        QCOMPARE(title, QStringLiteral("DELETE!"));
        QCOMPARE(text, QStringLiteral("Delete Rex!"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(defaultButton, yes);
    }

    void prompts_realFileErrorBox()
    {
        QString title;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Ok)->click();
        });
        reportFileError(nullptr, FileError(QStringLiteral("/data/doggies.dat"), QStringLiteral("written"),
                                           QStringLiteral("No space left on device")));
        QCOMPARE(title, QStringLiteral("Error!"));
        QVERIFY(text.contains(QStringLiteral("/data/doggies.dat")));
        QVERIFY(text.contains(QStringLiteral("could not be written")));
        QVERIFY(text.contains(QStringLiteral("No space left on device")));
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
