#include "TestSupport.h"

#include "platform/Fonts.h"
#include "records/FileError.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // Without Comic Sans MS, the fonts in the program's "fonts" folder are loaded.
    void bundledFonts()
    {
        if (QFontDatabase::hasFamily(u"Comic Sans MS"_s))
            QSKIP("this machine has Comic Sans MS");
        const DataFolder program(false);
        QCOMPARE(fonts::loadBundled(program.folder()), QStringList());
        QVERIFY(QDir(program.folder()).mkdir(u"fonts"_s));
        QVERIFY(QFile::copy(u"/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf"_s,
                            program.path(u"fonts/ComicNeue-Bold.otf"_s)));
        QCOMPARE(fonts::loadBundled(program.folder()), QStringList{u"Comic Neue"_s});
    }

    // The real dialogs: what they show is read, then they are answered, so
    // that one unlike the one expected fails the test instead of waiting.
    void prompts_realDialogs()
    {
        QStringList seen;
        QWidget* over = nullptr; // the window the box stood over
        auto answer = [&seen, &over](QMessageBox::StandardButton press) {
            QTimer::singleShot(0, [&seen, &over, press] {
                QWidget* modal = QApplication::activeModalWidget();
                over = modal ? modal->parentWidget() : nullptr;
                const QCursor* pointer = QApplication::overrideCursor();
                seen = QStringList{modal ? modal->windowTitle() : u"no dialog"_s,
                                   !pointer || pointer->shape() == Qt::ArrowCursor ? "ordinary pointer" : "hourglass"};
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    seen << box->text() << QString::number(box->icon()) << QString::number(box->standardButtons())
                         << QString::number(box->defaultButton() ==
                                            static_cast<QAbstractButton*>(box->button(QMessageBox::Yes)));
                    box->button(press) ? box->button(press)->click() : box->reject();
                } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
                    seen << chooser->nameFilters() << chooser->selectedNameFilter() << chooser->defaultSuffix()
                         << QFileInfo(chooser->selectedFiles().value(0)).fileName() << chooser->directory().path();
                    chooser->reject();
                } else if (modal) {
                    modal->close();
                }
            });
        };
        answer(QMessageBox::Yes);
        QVERIFY(prompts().askYesNo(nullptr, u"DELETE!"_s, u"Delete Rex!"_s));
        QCOMPARE(seen,
                 QStringList({"DELETE!", "ordinary pointer", "Delete Rex!", QString::number(QMessageBox::Critical),
                              QString::number(QMessageBox::Yes | QMessageBox::No), "1"}));
        // Leaving with unsaved typing: No the default; the owner has the keyboard again after.
        QWidget owner;
        owner.show();
        answer(QMessageBox::Yes);
        QVERIFY(prompts().askYesNo(&owner, u"Doggies"_s, u"Leave?"_s, Prompts::Answer::No));
        QCOMPARE(seen.mid(3), QStringList({QString::number(QMessageBox::Warning),
                                           QString::number(QMessageBox::Yes | QMessageBox::No), "0"}));
        QTRY_COMPARE(QApplication::activeWindow(), &owner);
        QCOMPARE(over, &owner);
        QWidget loading; // asked before its window shows, the box stands in the middle of the screen
        answer(QMessageBox::Ok);
        prompts().message(&loading, u"Error!"_s, u"Unreadable"_s, Prompts::Icon::Critical);
        QCOMPARE(over, nullptr);
        answer(QMessageBox::Ok); // asked while the hourglass shows: the box has the ordinary pointer
        QApplication::setOverrideCursor(Qt::WaitCursor);
        reportFileError(nullptr, FileError(u"/data/doggies.dat"_s, u"written"_s, u"No space left on device"_s));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QCOMPARE(seen.mid(0, 2), QStringList({"Error!", "ordinary pointer"}));
        QCOMPARE(seen.value(3), QString::number(QMessageBox::Critical));
        for (const QString& said :
             {QDir::toNativeSeparators("/data/doggies.dat"), u"could not be written"_s, u"No space left on device"_s})
            QVERIFY2(seen.value(2).contains(said), qPrintable(seen.value(2)));
        answer(QMessageBox::Cancel);
        const QStringList filters = {"Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)"};
        const DataFolder pictures; // the chooser opens on the picture chosen last
        QVERIFY(!prompts().chooseOpenFile(nullptr, u"SELECT"_s, filters, u"jpg"_s, pictures.path(u"doggie.gif"_s)));
        QCOMPARE(seen, QStringList({"SELECT", "ordinary pointer", "Gif(*.gif)", "Bmp(*.bmp)", "Jpg(*.jpg)",
                                    "Gif(*.gif)", "jpg", "doggie.gif", pictures.folder()}));
        answer(QMessageBox::Cancel); // or first in a folder
        QVERIFY(!prompts().chooseOpenFile(nullptr, u"SELECT"_s, filters, u"jpg"_s, pictures.folder()));
        QCOMPARE(seen.last(), pictures.folder());
        answer(QMessageBox::Ok); // a problem at start-up: a warning
        prompts().message(nullptr, QString(), u"No lock"_s, Prompts::Icon::Warning);
        QCOMPARE(seen.value(3), QString::number(QMessageBox::Warning));
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
