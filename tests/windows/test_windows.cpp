#include "TestSupport.h"

#include "datepicker/DatePickerDialog.h"
#include "platform/PictureControl.h"
#include "records/DoggieErase.h"

#include <QFutureWatcher>
#include <QListWidget>
#include <QPointer>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <optional>

namespace {

using standard::dogs;
using standard::health;
using standard::journal;

// The record files before (null: the standard ones) and after (null: unchanged).
struct Files {
    QByteArray dogs = {}, health = {}, journal = {};
};

void row(const QString& name, const QString& script, const Files& after = {}, const Files& before = {})
{
    QTest::newRow(qPrintable(name)) << script << QByteArrayList{before.dogs, before.health, before.journal}
                                    << QByteArrayList{after.dogs, after.health, after.journal};
}

enum class Fault { FolderInPlace, DiskFull, LyingDisk, FailingSync, NotTheirs, FolderNotTheirs };

QMap<QString, QByteArray> snapshot(const DataFolder& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder.folder()).entryList({u"*.dat"_s, u"*.txt"_s}))
        files[name] = folder.read(name);
    return files;
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    // What a person does in the windows, by mouse and keyboard, and what the
    // record files hold afterwards.
    void scenarios_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArrayList>("before");
        QTest::addColumn<QByteArrayList>("after");
        // Every command by its picture, its caption and its Alt key: the window
        // it leads to is loaded afresh, the only one, and takes the keyboard.
        const char* moves[][4] = {
            {"main", "doggies", "D", "DogRegisterWindow"},   {"main", "health", "H", "HealthWindow"},
            {"main", "journal", "J", "JournalWindow"},       {"dogs", "health", "H", "HealthWindow"},
            {"dogs", "journal", "J", "JournalWindow"},       {"health", "doggies", "D", "DogRegisterWindow"},
            {"health", "journal", "J", "JournalWindow"},     {"journal", "health", "H", "HealthWindow"},
            {"journal", "doggies", "D", "DogRegisterWindow"}};
        for (const auto& m : moves) {
            const QString go = u"go "_s + m[0], to = u"; window %1; alone"_s.arg(m[3]);
            row(go + ": " + m[1] + "Picture",
                go + "; click " + m[1] + "Picture" + to + "; rows lbDoggieList \"Bella|Rex|Max||\"");
            row(go + ": " + m[1] + "Caption", go + "; click " + m[1] + "Caption" + to);
            row(go + ": Alt+" + m[2], go + "; alt " + m[2] + to);
        }
        // The title bar's close, Alt+F4 and a logout do what the window's own close does.
        for (const char* how : {"click quitPicture", "click quitCaption", "alt Q", "titlebar", "logout yes"})
            row(u"main: %1"_s.arg(how), u"go main; %1; state quits 1"_s.arg(how));
        for (const auto& [screen, report] :
             {std::pair{"dogs", "Doggies"}, std::pair{"health", "Health"}, std::pair{"journal", "Journal"}}) {
            for (const char* how :
                 {"click imgClose; window MainWindow", "alt C; window MainWindow", "titlebar; window MainWindow",
                  "logout yes; window MainWindow", "click imgPrint; window ReportViewer", "alt P; window ReportViewer"})
                row(u"%1: %2"_s.arg(screen, how), u"go %1; %2; alone; state ReportType \"%3\""_s.arg(
                                                      screen, how, QString(how).contains(u'P') ? report : ""));
        }
        for (const char* how : {"click cmdClose", "alt C", "titlebar"})
            row(u"viewer: %1"_s.arg(how), u"go health; click imgPrint; %1; window HealthWindow; alone"_s.arg(how));
        for (const char* screen : {"dogs", "health", "journal"}) { // by mouse and keyboard
            row(u"%1: a dog is picked, an erased slot picks nothing"_s.arg(screen),
                QStringLiteral("go %1; pick Max; pick \"\"; state DoggieRecNo 3; is shownDogName Max; pick Bella; "
                               "pick Bella; key lbDoggieList Down; key lbDoggieList Down; state DoggieRecNo 3; "
                               "pick \"\" 2; state DoggieRecNo 5")
                    .arg(screen));
        }

        // Each bone by its key; a double-click is one click.
        row("dogs: Alt+I while the boxes and the picture are locked, Alt+R, Alt+E, Alt+I",
            "go dogs; pick Rex; locked txtName yes; alt I; asked 0; alt R; title DELETE!; alt E; is imgEdit SAVE; "
            "alt I; title \"SELECT A PICTURE OF YOUR DOGGIE\"");
        row("dogs: a double-click on Edit, then on the picture: one chooser; nothing typed, nothing asked on leaving",
            "go dogs; pick Rex; double imgEdit; is imgEdit SAVE; double imgDoggiePic; asked 1; click imgClose; "
            "window MainWindow");
        row("journal: Alt+A; the picker's Enter and Escape do nothing, Alt+C and its title bar close, Alt+O",
            "go journal; pick Max; date close keys; alt A; is imgAdd ADD; state SelectedDate \"\"; date close "
            "titlebar; "
            "alt A; is imgAdd ADD; date today keys; alt A; is imgAdd SAVE; alone; focus txtEntry; state SelectedDate " +
                DatePickerDialog::dateText(QDate::currentDate()));
        for (const char* screen : {"health", "journal"}) { // Add is for a dog picked in that window, still there
            const QString go = u"go "_s + screen;
            row(go + ": Add without a dog", go + "; click imgAdd; is imgAdd ADD");
            row(go + ": Add for a dog picked elsewhere",
                "go dogs; pick Max; " + go + "; pick \"\"; click imgAdd; is imgAdd ADD");
            row(go + ": Add for a dog erased since",
                go + "; pick Max; erased doggies.dat 3; click imgAdd; is imgAdd ADD", {dogs({1, 2, 0, 4, 5})});
        }

        // The dog register
        row("dogs: add to a missing file",
            "remove doggies.dat; go dogs; click imgAdd; picture imgAdd doggie-save.gif; status entry; type txtName "
            "Rex; type txtBirthDate 7/14/2003; click imgAdd; picture imgAdd doggie-add.gif; "
            "status ready; state DoggieRecNo 1; locked txtName no",
            {rawbytes::doggie(1, QList<QByteArray>{"Rex", {}, "7/14/2003"})});
        row("dogs: add starts from a blank dog, and the new dog can be edited at once",
            "go dogs; pick Rex; click imgAdd; picture imgDoggiePic no-photo.gif; is txtVetName \"\"; type txtName Pip; "
            "click imgAdd; state DoggieRecNo 6; rows lbDoggieList Bella|Rex|Max|||Pip; "
            "is shownDogName Rex; click imgEdit; type txtCameFrom Shelter; click imgEdit",
            {dogs() + rawbytes::doggie(6, QList<QByteArray>{"Pip", {}, {}, {}, "Shelter"})});
        QList<QByteArray> rexPhone = standard::rexTexts();
        rexPhone[7] = "0123456789ABCDE";
        row("dogs: edit shows its save bone and the entry prompt until saved; a phone number cut to its field",
            "go dogs; pick Rex; click imgEdit; picture imgEdit doggie-save.gif; status entry; type txtVetPhoneNo "
            "0123456789ABCDEFGH; is txtVetPhoneNo 0123456789ABCDE; click imgEdit; picture imgEdit doggie-edit.gif; "
            "status ready",
            {dogs().replace(439, 439, rawbytes::doggie(2, rexPhone))});
        row("dogs: edit and erase need a dog shown here; picking elsewhere, or a dog erased since, shows nothing",
            "go health; pick Max; go dogs; state DoggieRecNo 3; is shownDogName \"Doggie Information\"; click imgEdit; "
            "is imgEdit EDIT; click imgErase; asked 0; erased doggies.dat 1; pick Bella; is shownDogName \"Doggie "
            "Information\"",
            {dogs({0, 2, 3, 4, 5})});
        // Fields an earlier program never filled hold NULs: such a name is none.
        row("dogs: a dog whose every particular is NULs is a dog without a name",
            "go dogs; pick \"\"; state DoggieRecNo 2; click imgErase; said \"Delete this doggie, with its 2 "
            "vaccinations!\"",
            {}, {standard::dogs({1}) + rawbytes::doggie(2, "").left(4) + QByteArray(435, '\0')});
        row("dogs: erase answered No",
            "go dogs; pick Rex; click imgErase; title DELETE!; said \"Delete Rex, with its 2 vaccinations!\"; pick "
            "Max; click imgErase; said \"Delete Max, with its 3 vaccinations and 3 journal entries!\"; pick Bella; "
            "click imgErase; said \"Delete Bella, with its 1 journal entry!\"");
        row("dogs: a waiting edit ends with its dog; the dog's records go, those at the end cut off",
            "go dogs; pick Max; click imgEdit; type txtVetName Gone; answer yes; click imgErase; is imgEdit EDIT; "
            "rows lbDoggieList Bella|Rex|||; click imgErase; asked 1",
            {dogs({1, 2, 0, 4, 5}), health({0, 2, 3, 0, 0, 6}), journal({0, 2, 3})});
        row("dogs: Enter and the keypad's Enter move from box to box, but not out of the list",
            "go dogs; click imgAdd; type txtName Rex; key txtName Return; focus txtPedigreeName; is txtName Rex; "
            "key txtPedigreeName Enter; focus txtBirthDate; key lbDoggieList Return; focus lbDoggieList");
        const QString rex = QDir::toNativeSeparators(standard::picturesFolder() + "/rex.gif");
        // It opens in the Pictures folder, then where the last picture was chosen.
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        row("dogs: the picture chooser, cancelled, chosen, cancelled for another dog",
            "go dogs; click imgDoggiePic; asked 0; pick Bella; click imgEdit; choose cancel; click imgDoggiePic; "
            "picture imgDoggiePic no-pic.gif; said \"Pictures (*.gif *.bmp *.jpg *.jpeg *.png) Gif(*.gif) Bmp(*.bmp) "
            "Jpg(*.jpg) jpg\nat " +
                (QFileInfo(pictures).isDir() ? pictures : QDir::homePath()) + "\"; choose " + rex +
                "; click imgDoggiePic; picture imgDoggiePic rex.gif; click imgEdit; pick Max; click imgEdit; "
                "choose cancel; click imgDoggiePic; said \"at " +
                rex + "\"; picture imgDoggiePic no-pic.gif; click imgEdit",
            {dogs().replace(0, 439, rawbytes::doggie(1, "Bella", rex.toUtf8()))});
        // A GIF that claims 20000 x 20000 pixels in a few bytes, under names a picture may not have.
        const QString hugeGif = "GIF89a%20N%20N%80%00%00%00%00%00%FF%FF%FF%2C%00%00%00%00%20N%20N%00%02%02D%01%00%3B";
        for (const auto& [file, why, make] : // a pipe, which would hold the window, too
             {
                 std::tuple{QString(110, u'p') + ".gif", "100", "write"},
                 std::tuple{u"\u738B.gif"_s, "characters", "write"},
                 std::tuple{u"huge.gif"_s, "could not be read", "write"},
#ifndef Q_OS_WIN
                 std::tuple{u"pipe.gif"_s, "could not be read", "mkfifo"},
#endif
             }) {
            row(u"dogs: a picture refused, %1, %2"_s.arg(why, make),
                QStringLiteral("go dogs; %4 %1 %3; pick Rex; click imgEdit; choose %1; click imgDoggiePic; "
                               "asked 2; said \"%2\"; picture imgDoggiePic rex.gif; click imgEdit")
                    .arg(file, why, hugeGif, make));
        }

        // The health register
        const QString maxRows = "9/1/2003 Lepto|12/5/2004 Distemper|10/20/2003 Rabies|";
        row("health: a row without a vaccine cannot be chosen", "go health; pick Bella; row 3/3/2003; is txtdate \"\"",
            {}, {{}, rawbytes::health(1, 1, "3/3/2003", "")});
        // Bytes at the file's end short of a record: fewer than half of one count for nothing, more for one.
        for (const auto& [stray, number] : {std::pair{10, 7}, std::pair{40, 8}}) {
            const QByteArray before = health() + QByteArray(stray, 'z');
            row(u"health: an add after %1 stray bytes is record %2"_s.arg(stray).arg(number),
                "go health; pick Max; click imgAdd; type txtdate 1/2/2006; type txtvaccine Rabies; click imgAdd",
                {{},
                 (before + QByteArray(68, '\0')).left((number - 1) * 68) +
                     rawbytes::health(number, 3, "1/2/2006", "Rabies")},
                {{}, before});
        }
        row("health: a refused add waits as typed; a long date is kept as the day it names",
            "go health; pick Max; click imgAdd; type txtvaccine Rabies; click imgAdd; is txtvaccine Rabies; "
            "focus txtdate; keys txtdate June; paste txtdate \" 1, 2003\"; click imgAdd",
            {{}, health() + rawbytes::health(7, 3, "6/1/2003", "Rabies")});
        row("health: add starts blank and ends the chosen row",
            "go health; pick Max; row \"12/5/2004 Distemper\"; click imgAdd; is txtvaccine \"\"; type txtdate "
            "1/2/2006; type txtvaccine Typed; click imgErase; click imgEdit; click imgEdit; asked 0; is imgEdit EDIT; "
            "is imgAdd SAVE");
        row("health: edit keeps the record's number and dog; a refused edit waits as typed",
            "go health; pick Max; row \"12/5/2004 Distemper\"; click imgEdit; status ready; type txtdate 12/32/2004; "
            "click imgEdit; focus txtdate; keys txtdate 12/5/2004; type txtvaccine \"  \"; click imgEdit; focus "
            "txtvaccine; keys txtvaccine \"Distemper booster\"; click imgEdit; rows vaccinationGrid "
            "\"9/1/2003 Lepto|12/5/2004 Distemper booster|10/20/2003 Rabies|\"",
            {{}, health().replace(3 * 68, 68, rawbytes::health(4, 3, "12/5/2004", "Distemper booster"))});
        row("health: the grid's dates fall by their text, ties as its sort leaves them",
            "go health; pick Bella; rows vaccinationGrid \"2/2/2002 z|2/2/2002 x|1/1/2001 w|1/1/2001 y|\"", {},
            {{},
             rawbytes::health(1, 1, "1/1/2001", "w") + rawbytes::health(2, 1, "2/2/2002", "x") +
                 rawbytes::health(3, 1, "1/1/2001", "y") + rawbytes::health(4, 1, "2/2/2002", "z")});
        row("health: of two rows alike, each stands for its own record",
            "go health; pick Bella; row \"1/1/2001 w\" 2; answer yes; click imgErase; rows vaccinationGrid \"1/1/2001 "
            "w|\"",
            {{}, rawbytes::health(1, 1, "1/1/2001", "w")},
            {{}, rawbytes::health(1, 1, "1/1/2001", "w") + rawbytes::health(2, 1, "1/1/2001", "w")});
        // The last record erased shortens the file.
        // Erased, the boxes empty and nothing is chosen: a second Erase asks nothing.
        const std::tuple<const char*, const char*, const char*, QString, QByteArray> erases[] = {
            {"Max", "10/20/2003 Rabies", "yes", "9/1/2003 Lepto|12/5/2004 Distemper|", health({0, 2, 3, 4, 5, 6})},
            {"Rex", "4/4/2004 Kennel cough", "yes", "1/1/2004 Parvo|", health({1, 2, 3, 4, 5})},
            {"Max", "9/1/2003 Lepto", "no", maxRows, {}}};
        for (const auto& [dog, at, answer, rows, after] : erases) {
            const QString vaccine = QString(at).section(u' ', 1);
            const bool yes = answer == "yes"_L1;
            row(u"health: erase %1, answered %2"_s.arg(vaccine, answer),
                QStringLiteral("go health; pick %1; row \"%2\"; type txtvaccine Typed; answer %3; click imgErase; "
                               "title DELETE; said \"Delete %4!\"; rows vaccinationGrid \"%5\"; is txtdate \"%6\"; "
                               "click imgErase; "
                               "asked %7")
                    .arg(dog, at, answer, vaccine, rows, yes ? "" : QString(at).section(u' ', 0, 0))
                    .arg(yes ? 1 : 2),
                {{}, after});
        }
        row("health: Enter moves from the date to the vaccine, the arrow keys through the rows",
            "go health; type txtdate 5/5/2005; key txtdate Return; focus txtvaccine; is txtdate 5/5/2005; pick Max; "
            "row \"9/1/2003 Lepto\"; key vaccinationGrid Down; is txtvaccine Distemper; type txtvaccine Typed; "
            "click imgErase; said \"Delete Distemper!\""); // the record chosen, whatever the box holds

        // The journal
        row("journal: the first entry, to a missing file",
            "remove journal.dat; go journal; pick Max; date 2005-07-04; click imgAdd; state SelectedDate 7-4-2005; "
            "rows lbDates 7-4-2005; picture imgAdd doggie-save.gif; status entry; locked txtEntry no; click imgAdd; is "
            "imgAdd SAVE; type txtEntry \"Fireworks; \\\"bang\\\",\nhid under the bed\"; click imgAdd; is imgAdd ADD; "
            "picture imgAdd doggie-add.gif; locked txtEntry yes; status ready; row 7-4-2005; "
            "is txtEntry \"Fireworks; \\\"bang\\\",\nhid under the bed\"", // a ; and a " within the quotes
            {{}, {}, rawbytes::journal(1, 3, "7-4-2005", "Fireworks; \"bang\",\r\nhid under the bed")});
        for (const auto& [length, lineBreakAt, over] :
             {std::tuple{4096, -1, 0}, std::tuple{4097, -1, 1}, std::tuple{4096, 100, 1}}) {
            QString text;
            for (int i = 0; i < length; ++i) // a line break counts two
                text.append(i == lineBreakAt ? QChar(u'\n') : QChar(u'a' + i % 26));
            QString script =
                "remove journal.dat; go journal; pick Bella; date 2005-01-02; click imgAdd; type txtEntry \"" + text +
                "\"";
            if (over > 0) { // said, not cut: the entry waits to be shortened
                script += QStringLiteral("; click imgAdd; said 4096; said \" %1 \"; is imgAdd SAVE; focus txtEntry; "
                                         "type txtEntry \"%2\"")
                              .arg(over)
                              .arg(text.chopped(over));
                text.chop(over);
            }
            row(u"journal: an entry of %1 characters, a line break at %2"_s.arg(length).arg(lineBreakAt),
                script + "; click imgAdd; is imgAdd ADD",
                {{}, {}, rawbytes::journal(1, 1, "1-2-2005", text.toLatin1().replace("\n", "\r\n"))});
        }
        row("journal: an unchanged save writes the old bytes again, typing at the end keeps them",
            "go journal; pick Bella; row 3-1-2005; is txtEntry \"One\nTwo three\n\nFour\"; click imgEdit; "
            "click imgEdit; click imgEdit; key txtEntry Ctrl+End; keys txtEntry \" and five\"; click imgEdit",
            {{}, {}, rawbytes::journal(1, 1, "3-1-2005", "One\r\nTwo\xA0three\r\n\r\nFour and five")},
            {{}, {}, rawbytes::journal(1, 1, "3-1-2005", "One\r\nTwo\xA0three\r\n\r\nFour")});
        row("journal: edit keeps the entry's own date though the picker was used again",
            "go journal; pick Max; row 1-5-2005; date 2009-09-09; click imgAdd; state SelectedDate 9-9-2009; click "
            "imgEdit; is imgEdit SAVE; locked txtEntry no; type txtEntry \"Snow, lots of it\"; click imgEdit; is "
            "imgEdit EDIT; "
            "locked txtEntry yes",
            {{}, {}, journal().replace(3 * 4114, 4114, rawbytes::journal(4, 3, "1-5-2005", "Snow, lots of it"))});
        // An erased entry leaves the list empty until a date is chosen again; a dog picked twice lists its dates once.
        for (const auto& [at, answer, dates, asked, after] :
             {std::tuple{"1-5-2005", "yes", "", 1, journal({1, 2, 3, 0, 5})},
              std::tuple{"3-2-2005 2", "yes", "", 1, journal({1, 2, 3, 4})},
              std::tuple{"1-5-2005", "no", "3-2-2005|1-5-2005|3-2-2005", 2, QByteArray()}}) {
            row(u"journal: erase %1, answered %2"_s.arg(at, answer),
                QStringLiteral("go journal; pick Max; pick Max; row %1; answer %2; click imgErase; title DELETE; "
                               "said \"Delete the %3 entry of Max!\"; rows lbDates \"%4\"; is shownDogName Max; "
                               "click imgErase; asked %5")
                    .arg(at, answer, QString(at).section(u' ', 0, 0), dates)
                    .arg(asked),
                {{}, {}, after});
        }

        // What is typed is what is kept. A refused save waits with the
        // keyboard in the box to put right, its text selected, so that typing
        // over it puts it right.
        QList<QByteArray> rexBorn = standard::rexTexts(), pip = {"Pip", {}, "6/1/2020"};
        rexBorn[2] = "9/9/2004";
        row("dogs: a birth date that is no date waits whole, by Add and by Edit; a long one is kept as m/d/yyyy",
            "go dogs; click imgAdd; type txtName Pip; type txtBirthDate \"soon, by July 4 2019\"; click imgAdd; is "
            "imgAdd SAVE; focus txtBirthDate; is txtBirthDate \"soon, by July 4 2019\"; is txtName Pip; status entry; "
            "keys txtBirthDate 6/1/2020; click imgAdd; is imgAdd ADD; pick Rex; click imgEdit; type txtBirthDate "
            "13/13/13; click imgEdit; is imgEdit SAVE; focus txtBirthDate; paste txtBirthDate \"September 9, 2004\"; "
            "click imgEdit; is imgEdit EDIT; "
            "is txtBirthDate 9/9/2004",
            {dogs().replace(439, 439, rawbytes::doggie(2, rexBorn)) + rawbytes::doggie(6, pip)});
        const QByteArray added =
            rawbytes::journal(7, 3, "7-5-2005", "Snow, again") + rawbytes::journal(8, 3, "7-6-2005", "Walk");
        row("journal: Add starts from the entry shown, selected: typing replaces it, an arrow key keeps it; "
            "a blank entry waits",
            "go journal; pick Max; row 1-5-2005; pick Bella; is txtEntry \"\"; pick Max; row 1-5-2005; date "
            "2005-07-04; click imgAdd; focus txtEntry; keys txtEntry Fireworks; pick Bella; is txtEntry Fireworks; "
            "pick Max; click imgAdd; row 1-5-2005; date 2005-07-05; click imgAdd; key txtEntry Right; keys txtEntry "
            "\", again\"; click imgAdd; date 2005-07-06; click imgAdd; type txtEntry \"  \"; click imgAdd; is imgAdd "
            "SAVE; focus txtEntry; keys txtEntry Walk; "
            "click imgAdd; is imgAdd ADD",
            {{}, {}, journal() + rawbytes::journal(6, 3, "7-4-2005", "Fireworks") + added});
        // Characters Windows-1252 has not: said, each once, with the box; the save waits there.
        row("dogs: characters the file cannot hold",
            "go dogs; click imgAdd; type txtName Rex; paste txtName \u738B\U0001F600\u738B; click imgAdd; is imgAdd "
            "SAVE; asked 1; said \": \u738B (U+738B), \U0001F600 (U+1F600)\n\"; said \"these characters\"; "
            "said \"them out of the Name box, or put others in their\"; focus txtName; keys txtName Rex; click imgAdd",
            {dogs() + rawbytes::doggie(6, "Rex")});
        row("journal: characters the file cannot hold",
            "go journal; pick Max; row 1-5-2005; click imgEdit; paste txtEntry \"\U0001F436\"; click imgEdit; "
            "said \"the Journal Entry box\"; focus txtEntry; keys txtEntry Snow!; click imgEdit",
            {{}, {}, journal().replace(3 * 4114, 4114, rawbytes::journal(4, 3, "1-5-2005", "Snow!"))});
        row("journal: Tab leaves the entry box",
            "go journal; pick Max; row 1-5-2005; click imgEdit; key txtEntry Tab; focus lbDoggieList");
        row("journal: a blank entry waits, by Edit too",
            "go journal; pick Max; row 1-5-2005; click imgEdit; type txtEntry \"  \"; key txtEntry Ctrl+End; "
            "click imgEdit; is imgEdit SAVE; focus txtEntry; keys txtEntry Snowed; click imgEdit; is imgEdit EDIT",
            {{}, {}, journal().replace(3 * 4114, 4114, rawbytes::journal(4, 3, "1-5-2005", "Snowed"))});
        // The rules of the commands, one machine in the three registers: each row runs in every register.
        // A command begun puts the keyboard in its first box. Leaving while it waits with unsaved typing asks,
        // No the answer that stays. Only the dog register's Edit shows the entry prompt, as its description has it.
        const char* registers[][10] = {
            // a record chosen, an add begun, its first box, a box, Edit's prompt, the leave question's title,
            // another window and its key, the record chosen in its file, whether the box is locked after an edit
            {"dogs", "pick Rex", "click imgAdd", "txtName", "txtVetName", "entry", "Doggies", "health", "doggies.dat 2",
             "no"},
            {"health", "pick Max; row \"12/5/2004 Distemper\"", "click imgAdd", "txtdate", "txtvaccine", "ready",
             "Doggie Health", "journal", "health.dat 4", "no"},
            {"journal", "pick Max; row 1-5-2005", "date 2005-07-04; click imgAdd", "txtEntry", "txtEntry", "ready",
             "Doggie Journal", "doggies", "journal.dat 4", "yes"}};
        const Files erased[] = {
            {dogs({1, 0, 3, 4, 5})}, {{}, health({1, 2, 3, 0, 5, 6})}, {{}, {}, journal({1, 2, 3, 0, 5})}};
        for (int i = 0; i < 3; ++i) {
            const auto& [screen, choose, add, first, box, prompt, title, other, record, locked] = registers[i];
            const QString go = u"go %1; %2; "_s.arg(screen, choose);
            row(u"%1: Add and Edit put the keyboard in %2"_s.arg(screen, first),
                go + add + u"; focus %1; click imgClose; window MainWindow; "_s.arg(first) + go +
                    u"click imgEdit; focus %1"_s.arg(first));
            row(u"%1: leaving with unsaved typing asks"_s.arg(screen),
                go + add +
                    QStringLiteral("; keys %1 Half; click imgClose; asked 1; title \"%2\"; said \"Leave without "
                                   "saving it?\"; click imgPrint; click %3Picture; click %3Caption; alt %4; alt C; "
                                   "titlebar; logout no; asked 8; is %1 Half; alone; answer yes; titlebar; window "
                                   "MainWindow")
                        .arg(box, title, other, QString(other).left(1).toUpper()));
            row(u"%1: erase while an add waits asks nothing"_s.arg(screen),
                go + add + "; click imgErase; asked 0; is imgAdd SAVE");
            row(u"%1: another dog picked while an edit waits: its save writes nothing of the first dog's"_s.arg(screen),
                go + u"click imgEdit; status %1; type %2 Typed; pick Bella; click imgEdit; is imgEdit EDIT"_s.arg(
                         prompt, box));
            row(u"%1: the record edited, erased by another Pawfolio meanwhile: its save writes nothing"_s.arg(screen),
                go + u"click imgEdit; type %1 Typed; erased %2; click imgEdit; is imgEdit EDIT; locked %1 %3"_s.arg(
                         box, record, locked),
                erased[i]);
        }
    }
    void scenarios()
    {
        QFETCH(QString, script);
        QFETCH(QByteArrayList, before);
        QFETCH(QByteArrayList, after);
        Session s;
        const QStringList names = {files::Doggies, files::Health, files::Journal};
        QByteArrayList expected;
        for (int i = 0; i < 3; ++i) {
            if (!before[i].isNull())
                s.folder.write(names[i], before[i]);
            expected.append(after[i].isNull() ? s.folder.read(names[i]) : after[i]);
        }
        RUN(s, script);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(s.folder.read(names[i]) == expected[i], qPrintable(names[i] + " differs"));
    }

    // Records made by one build and changed by another: a Linux and a Windows
    // build, run in turn by tests/exchange/test_exchange.sh on one folder.
    void exchange()
    {
        const QString folder = qEnvironmentVariable("PAWFOLIO_EXCHANGE");
        if (folder.isEmpty())
            QSKIP("run by tests/exchange/test_exchange.sh");
        Session s;
        const bool fresh = !QFile::exists(folder + "/in/" + files::Doggies);
        for (const QString& name : {files::Doggies, files::Health, files::Journal}) {
            QFile::remove(s.folder.path(name));
            QVERIFY(fresh || QFile::copy(folder + "/in/" + name, s.folder.path(name)));
        }
        RUN(s, fresh ? "go dogs; click imgAdd; type txtName Wino; type txtBirthDate 3/4/2020; click imgAdd; "
                       "click imgAdd; type txtName \"Caf\u00E9 \u20AC\"; click imgAdd; go health; pick Wino; click "
                       "imgAdd; type txtdate 5/12/2021; type txtvaccine Rabies; click imgAdd; go journal; pick Wino; "
                       "date 2021-07-04; click imgAdd; type txtEntry \"By the river,\nin the rain\"; click imgAdd"
                     : "go health; pick Wino; click imgAdd; type txtdate 6/1/2022; type txtvaccine Parvo; "
                       "click imgAdd; row \"5/12/2021 Rabies\"; answer yes; click imgErase; go journal; pick Wino; row "
                       "7-4-2021; click imgEdit; key txtEntry Ctrl+End; keys txtEntry \" again\"; "
                       "click imgEdit; go dogs; pick \"Caf\u00E9 \u20AC\"; answer yes; click imgErase");
        QDir().mkpath(folder + "/out");
        for (const QString& name : {files::Doggies, files::Health, files::Journal})
            QVERIFY(QFile::copy(s.folder.path(name), folder + "/out/" + name));
    }

    // A dog's photo is read while the window goes on: picking Rex returns
    // before it shows, and it shows when read; a window closed meanwhile is
    // gone before its photo comes, which then goes nowhere.
    void photoReadWhileTheWindowGoesOn()
    {
        Session s;
        RUN(s, "go dogs");
        auto* list = part<QListWidget>(s.window(), "lbDoggieList");
        auto* photo = part<PictureControl>(s.window(), "imgDoggiePic");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QVERIFY(!photo->hasPicture());
        QTRY_VERIFY(photo->hasPicture());
        RUN(s, "picture imgDoggiePic rex.gif");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        const QPointer<QObject> reading = photo->findChild<QFutureWatcherBase*>(); // read again
        QVERIFY(reading);
        RUN(s, "go main; window MainWindow");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(reading.isNull());
    }

    // A doggies.dat with room for more than a million dogs (a sparse file of
    // 420 MB here) is said at once by each register, and left as it is.
    void dogFileTooLarge()
    {
        Session s;
        const qint64 size = qint64(DoggieRecord::Length) * 1000001;
        QVERIFY(QFile(s.folder.path(files::Doggies)).resize(size));
        for (const char* screen : {"dogs", "health", "journal"})
            RUN(s,
                u"go %1; rows lbDoggieList \"\"; said doggies.dat; said \"could not be opened.\"; said \"It is 419 MB, "
                "room for more than the 1,000,000 records Pawfolio keeps in one file.\""_s.arg(screen));
        QCOMPARE(QFileInfo(s.folder.path(files::Doggies)).size(), size);
    }

    // A command readied up to its last click; the click fails on a fault put
    // on the file it writes: nothing changes but what the message says, and
    // with the fault gone the same click does the work.
    void failedWrite_changesNothing_data()
    {
        QTest::addColumn<QString>("prepare");
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("erasedBefore"); // a file a dog erase rewrote before the target
        QTest::addColumn<Fault>("fault");
        // The faults that reach the command's file: F a folder in its place, D a full disk, L a disk that
        // keeps part of a write, S one that fails at the sync, N a file and O a folder its person may not
        // write or open. An edit grows no file; a lie about it cannot be caught.
        const QString nothing = u"Nothing was changed"_s;
        auto add = [](const char* name, const char* faults, const QString& prepare, const char* commit,
                      const QString& target, const QString& outcome, const QString& erasedBefore = {}) {
            static const char* said[] = {"a folder in place", "disk full",         "a lying disk",
                                         "a failing sync",    "a file not theirs", "a folder not theirs"};
            for (const char* f = faults; *f; ++f) {
                const auto fault = Fault(QByteArray("FDLSNO").indexOf(*f));
                const bool putBack = QByteArray(name).contains("edit") && fault == Fault::FailingSync;
                QTest::addRow("%s, %s", name, said[int(fault)]) // an edit put back on a disk that confirms nothing
                    << prepare << commit << target << (putBack ? u"may have been changed"_s : outcome) << erasedBefore
                    << fault;
            }
        };
        const char* eraseDog = "go dogs; pick Max";
        const char* yes = "answer yes; click imgErase";
        const QString kennelCough = "go health; pick Rex; row \"4/4/2004 Kennel cough\"";
        add("dog add", "FDLSNO", "go dogs; click imgAdd; type txtName Lucky", "click imgAdd", files::Doggies, nothing);
        add("dog edit", "FSNO", "go dogs; pick Rex; click imgEdit; type txtVetName Dr.New", "click imgEdit",
            files::Doggies, nothing);
        add("dog erase", "FDLSNO", "go dogs; pick \"\" 2", yes, files::Doggies, "Nothing was");
        add("dog erase, its vaccinations", "FSN", eraseDog, yes, files::Health,
            "Nothing was erased: the doggie and its records are as they were.");
        add("dog erase, its journal", "F", eraseDog, yes, files::Journal,
            "The doggie's vaccinations were erased; its journal entries and the doggie itself were not", files::Health);
        add("dog erase, temp.dat", "FSN", eraseDog, yes, files::Temp, "Nothing was erased");
        add("dog erase, its note", "FS", eraseDog, yes, files::EraseNote, "Nothing was erased"); // before any rewrite
        add("health add", "FDLSNO", "go health; pick Rex; click imgAdd; type txtdate 5/12/2003; type txtvaccine Rabies",
            "click imgAdd", files::Health, nothing);
        add("health erase", "FDLSNO", kennelCough, yes, files::Health, nothing);
        add("journal edit", "F", "go journal; pick Max; row 1-5-2005; click imgEdit; type txtEntry Snowed",
            "click imgEdit", files::Journal, nothing);
        add("journal add", "FDLSNO", "go journal; pick Max; date 2005-07-04; click imgAdd; type txtEntry Fireworks",
            "click imgAdd", files::Journal, nothing);
        add("journal erase", "FDLSNO", "go journal; pick Max; row 3-2-2005", yes, files::Journal, nothing);
        add("report", "FDLNO", "go dogs; pick Rex", "click imgPrint", files::Report, nothing);
    }
    void failedWrite_changesNothing()
    {
        QFETCH(QString, prepare);
        QFETCH(QString, commit);
        QFETCH(QString, target);
        QFETCH(QString, outcome);
        QFETCH(QString, erasedBefore);
        QFETCH(Fault, fault);
        Session s;
        s.folder.write(files::Report, "an earlier report\r\n");
        RUN(s, prepare);
        const auto before = snapshot(s.folder);
        const qsizetype shownBefore = s.prompts->shown.size();
        bool actingAsNobody = false;
        { // the fault on the file, taken away when the block ends
            const auto undo = qScopeGuard([&] {
                QVERIFY(!actingAsNobody || actAsNobody(false)); // only root acts as another
                QFile::setPermissions(s.folder.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                failingDisk = {};
                if (QDir(s.folder.folder()).rmdir(target))
                    QFile::rename(s.folder.path(u"aside"_s), s.folder.path(target));
            });
            std::optional<FullDisk> full;
            if (fault == Fault::DiskFull)
                full.emplace(qMax<qint64>(1, QFileInfo(s.folder.path(target)).size() - 1));
            failingDisk = {.lying = fault == Fault::LyingDisk,
                           .failingSync = fault == Fault::FailingSync,
                           .on = {target, files::Temp}};
            if (fault == Fault::FolderInPlace) {
                QFile::rename(s.folder.path(target), s.folder.path(u"aside"_s));
                QDir(s.folder.folder()).mkdir(target);
            }
            // The tests run as root, whom no permission stops: the click is made as nobody, in a folder
            // all may read and only its owner write, or one only its owner may open.
            const auto mode =
                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                (fault == Fault::NotTheirs ? QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther
                                           : QFile::Permissions());
            if ((fault == Fault::NotTheirs || fault == Fault::FolderNotTheirs) &&
                (!QFile::setPermissions(s.folder.folder(), mode) || !(actingAsNobody = actAsNobody(true))))
                QSKIP("cannot act as another user here");
            RUN(s, commit);
        }
        const auto after = snapshot(s.folder);
        QCOMPARE(after.keys(), before.keys());
        for (const QString& file : before.keys())
            QVERIFY2((after[file] == before[file]) != (file == erasedBefore), qPrintable(file + " changed or not"));
        QVERIFY(!s.folder.exists(files::Temp) || target == files::Temp);
        QVERIFY2(s.prompts->shown.size() > shownBefore, "no message"); // after the question of an erase
        QCOMPARE(s.prompts->shown.last().title, u"Error!"_s);
        const QString message = s.prompts->shown.last().text;
        // A folder that cannot be opened stops the first file read, the dogs' more often than not; one
        // that cannot be written stops a dog erase at its note, before any rewrite.
        const bool notTheirs = fault == Fault::NotTheirs || fault == Fault::FolderNotTheirs;
        QVERIFY2(message.contains(target) || message.contains(files::Temp) ||
                     (fault == Fault::FolderNotTheirs && message.contains(files::Doggies)) ||
                     (notTheirs && message.contains(files::EraseNote)),
                 qPrintable(message));
        QVERIFY2(message.contains(outcome) && !message.contains(u"Unknown error"), qPrintable(message));
        QVERIFY(fault != Fault::FailingSync || message.contains("The disk did not confirm the write"_L1));
        QVERIFY(fault != Fault::NotTheirs || commit.contains(u"Erase") || commit.contains(u"Print") || // add, edit
                message.contains("could not be opened for writing"_L1));
        QVERIFY(fault != Fault::LyingDisk || message.contains("The disk took only part of it"_L1));
        if (target == files::Report)
            return;
        s.prompts->answers.clear(); // a click that failed before its question leaves its answer
        RUN(s, commit);
        QVERIFY(snapshot(s.folder) != before);
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
