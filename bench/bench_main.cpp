// Pawfolio's benchmark: the grid sort, and every user action on a "stress"
// data folder (1,000 dogs, 100,000 vaccinations, 20,000 journal entries of
// 2,000 characters, an 82 MB journal.dat), through the real windows and their
// handlers, offscreen. Not a test: run it with bench/run.sh, which also times
// the start-up of the real program.
#include "datepicker/DatePickerDialog.h"
#include "doggies/DogRegisterWindow.h"
#include "health/FlexGrid.h"
#include "health/GridSort.h"
#include "health/HealthWindow.h"
#include "journal/JournalWindow.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "records/Records.h"
#include "records/SharedState.h"
#include "reports/ReportViewer.h"
#include "shell/Navigator.h"
#include "shell/Screens.h"
#include "shell/SingleInstance.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kDogs = 1000;
constexpr int kHealth = 100000;
constexpr int kJournal = 20000;

// Yes to every question, no picture ever chosen.
class YesPrompts : public Prompts {
public:
    bool askYesNo(QWidget*, const QString&, const QString&, Answer) override { return true; }
    void message(QWidget*, const QString&, const QString& text, Icon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    std::optional<QString> chooseOpenFile(QWidget*, const QString&, const QStringList&, const QString&,
                                          const QString&) override
    {
        return std::nullopt;
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Times `action` `runs` times (after `prepare` each time, untimed), in ms.
double timeIt(int runs, const std::function<void()>& prepare, const std::function<void()>& action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        action();
        QCoreApplication::processEvents(); // the window paints what changed
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}

void row(const char* what, double ms, const char* target)
{
    std::printf("| %-46s | %10.2f | %-22s |\n", what, ms, target);
    std::fflush(stdout);
}

// A control of a window, by its name.
template <typename T>
T* part(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

void press(QWidget* widget)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

QString dateText(int i)
{
    return QStringLiteral("%1/%2/%3").arg(1 + i % 12).arg(1 + (i / 12) % 28).arg(1990 + (i / 336) % 30);
}

void writeStressFolder(const SharedState& state)
{
    QFile dogs(state.path(files::Doggies));
    dogs.open(QIODevice::WriteOnly);
    for (int i = 1; i <= kDogs; ++i) {
        DoggieRecord d;
        d.ID = i;
        d.Name = QStringLiteral("Dog %1").arg(i).leftJustified(40);
        d.VetName = QStringLiteral("Dr. Vet %1").arg(i % 17).leftJustified(40);
        dogs.write(d.toBytes());
    }
    QFile health(state.path(files::Health));
    health.open(QIODevice::WriteOnly);
    for (int i = 1; i <= kHealth; ++i) {
        HealthRecord h;
        h.ID = i;
        h.DoggieID = 1 + int((qint64(i) * 7919) % kDogs); // 100 a dog, scattered
        h.DateGiven = dateText(i).leftJustified(10);
        h.Vaccine = QStringLiteral("Vaccine %1").arg(i % 40).leftJustified(50);
        health.write(h.toBytes());
    }
    QFile journal(state.path(files::Journal));
    journal.open(QIODevice::WriteOnly);
    const QString words =
        QStringLiteral("A long walk by the river, a nap in the sun and dinner. ").repeated(40).left(2000);
    for (int i = 1; i <= kJournal; ++i) {
        JournalRecord j;
        j.ID = i;
        j.DoggieID = 1 + int((qint64(i) * 337) % kDogs); // 20 a dog
        j.EntryDate = QStringLiteral("%1-%2-2005").arg(1 + i % 12).arg(1 + i % 28).leftJustified(10);
        j.Entry = words.leftJustified(4096);
        journal.write(j.toBytes());
    }
}

void sortRows(int n, const char* order)
{
    std::vector<QStringList> rows;
    std::mt19937 random(1);
    for (int i = 0; i < n; ++i)
        rows.push_back({dateText(int(random() % 100000)), QStringLiteral("Vaccine %1").arg(i)});
    const auto falling = [](const QStringList& a, const QStringList& b) { return a[0] > b[0]; };
    if (qstrcmp(order, "ordered") == 0)
        std::sort(rows.begin(), rows.end(), falling);
    else if (qstrcmp(order, "reverse") == 0)
        std::sort(rows.rbegin(), rows.rend(), falling);
    else if (qstrcmp(order, "all equal") == 0)
        for (QStringList& r : rows)
            r[0] = QStringLiteral("5/12/2003");
    std::vector<double> times;
    for (int run = 0; run < (n > 1000 ? 3 : 9); ++run) {
        FlexGrid grid; // as the health window sorts it, its header row aside
        grid.setCols(2);
        grid.setDataRows(rows);
        QElapsedTimer t;
        t.start();
        QSort(grid, 0, 1, n);
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    char what[64];
    std::snprintf(what, sizeof what, "QSort, %d rows, %s", n, order);
    row(what, median(times), "(no target)");
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    installPrompts(std::make_unique<YesPrompts>());
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-XXXXXX") : QString());
    SharedState state(dir.path());
    const QDir pictures(QCoreApplication::applicationDirPath());
    for (const QString& gif : pictures.entryList({QStringLiteral("*.gif")}))
        QFile::copy(pictures.filePath(gif), state.path(gif));
    writeStressFolder(state);
    Navigator navigator(state);
    registerScreens(navigator);
    const int dog = 500; // the dog picked, list row dog - 1
    auto pick = [&](QWidget* w) { part<QListWidget>(w, "lbDoggieList")->setCurrentRow(dog - 1); };

    std::printf("| %-46s | %10s | %-22s |\n|%s|%s|%s|\n", "action (median of runs)", "ms", "target",
                QByteArray(48, '-').constData(), QByteArray(12, '-').constData(), QByteArray(24, '-').constData());
    // What one Pawfolio per folder adds to a start: the lock taken and the
    // socket listening, on a folder of its own each time.
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    std::vector<std::unique_ptr<SingleInstance>> instances;
    row("start-up: the lock taken, the socket listening",
        timeIt(
            7, [&] { folders.push_back(std::make_unique<QTemporaryDir>()); },
            [&] {
                instances.push_back(std::make_unique<SingleInstance>(folders.back()->path()));
                instances.back()->start();
            }),
        "a few ms");
    for (auto [screen, name] : {std::pair{Screen::Doggies, "open the dog register"},
                                {Screen::Health, "open the health register"},
                                {Screen::Journal, "open the journal"}})
        row(name, timeIt(7, {}, [&] { navigator.go(screen); }), "< 50");

    QWidget* w = nullptr;
    auto open = [&](Screen s) { return [&, s] { w = navigator.go(s); }; };
    row("pick a dog in the dog register", timeIt(7, open(Screen::Doggies), [&] { pick(w); }), "< 50");
    row("pick a dog: health grid built and sorted", timeIt(7, open(Screen::Health), [&] { pick(w); }), "< 50");
    row("pick a dog: journal dates listed", timeIt(7, open(Screen::Journal), [&] { pick(w); }), "< 50");
    row("choose a row of the health grid",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Health);
                pick(w);
            },
            [&] { part<FlexGrid>(w, "vaccinationGrid")->selectRow(40); }),
        "< 50");
    row("choose a date of the journal",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Journal);
                pick(w);
            },
            [&] { part<QListWidget>(w, "lbDates")->setCurrentRow(10); }),
        "< 50");

    // Saves, each flushed to the disk before the click returns.
    row("dog register: add saved",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Doggies);
                auto* d = qobject_cast<DogRegisterWindow*>(w);
                press(part<PictureControl>(d, "imgAdd"));
                part<QLineEdit>(d, "txtName")->setText(QStringLiteral("Newcomer"));
            },
            [&] { press(part<PictureControl>(w, "imgAdd")); }),
        "< 50");
    row("dog register: edit saved",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Doggies);
                pick(w);
                auto* d = qobject_cast<DogRegisterWindow*>(w);
                press(part<PictureControl>(d, "imgEdit"));
                part<QLineEdit>(d, "txtVetName")->setText(QStringLiteral("Dr. Other"));
            },
            [&] { press(part<PictureControl>(w, "imgEdit")); }),
        "< 50");
    row("health: add saved (grid rebuilt)",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Health);
                pick(w);
                auto* h = qobject_cast<HealthWindow*>(w);
                press(part<PictureControl>(h, "imgAdd"));
                part<QLineEdit>(h, "txtdate")->setText(QStringLiteral("5/12/2003"));
                part<QLineEdit>(h, "txtvaccine")->setText(QStringLiteral("Rabies"));
            },
            [&] { press(part<PictureControl>(w, "imgAdd")); }),
        "< 50");
    row("health: edit saved (grid rebuilt)",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Health);
                pick(w);
                auto* h = qobject_cast<HealthWindow*>(w);
                part<FlexGrid>(h, "vaccinationGrid")->selectRow(3);
                press(part<PictureControl>(h, "imgEdit"));
                part<QLineEdit>(h, "txtvaccine")->setText(QStringLiteral("Booster"));
            },
            [&] { press(part<PictureControl>(w, "imgEdit")); }),
        "< 50");
    row("journal: add saved",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Journal);
                pick(w);
                auto* j = qobject_cast<JournalWindow*>(w);
                QTimer::singleShot(0, [] { press(part<PictureControl>(QApplication::activeModalWidget(), "imgOk")); });
                press(part<PictureControl>(j, "imgAdd"));
                part<QPlainTextEdit>(j, "txtEntry")->setPlainText(QStringLiteral("A new day."));
            },
            [&] { press(part<PictureControl>(w, "imgAdd")); }),
        "< 50");
    row("journal: edit saved",
        timeIt(
            7,
            [&] {
                w = navigator.go(Screen::Journal);
                pick(w);
                auto* j = qobject_cast<JournalWindow*>(w);
                part<QListWidget>(j, "lbDates")->setCurrentRow(2);
                press(part<PictureControl>(j, "imgEdit"));
                part<QPlainTextEdit>(j, "txtEntry")->setPlainText(QStringLiteral("Changed."));
            },
            [&] { press(part<PictureControl>(w, "imgEdit")); }),
        "< 50");

    // Reports for the dog, built into report.txt and drawn on the page.
    for (auto [type, name] : {std::pair{Screen::Doggies, "dog report built and drawn"},
                              {Screen::Health, "health report built and drawn"},
                              {Screen::Journal, "journal report built and drawn"}})
        row(name,
            timeIt(
                7,
                [&] {
                    state.ReportType = type;
                    state.DoggieRecNo = dog;
                },
                [&] { w = navigator.go(Screen::ReportViewer); }),
            "< 50");
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    row("journal report printed to PDF",
        timeIt(
            7,
            [&] {
                state.ReportType = Screen::Journal;
                w = navigator.go(Screen::ReportViewer);
                qobject_cast<ReportViewer*>(w)->setPrintFile(pdf);
            },
            [&] { part<QPushButton>(w, "cmdPrint")->click(); }),
        "< 50");

    // The erase rewrite of the 82 MB journal, beside a copy of it with cp and sync.
    const QString journalPath = state.path(files::Journal);
    const QString copyPath = dir.filePath(QStringLiteral("copy.dat"));
    std::vector<double> erase;
    std::vector<double> copy;
    for (int run = 0; run < 5; ++run) {
        QFile::remove(copyPath);
        QElapsedTimer t;
        t.start();
        QProcess::execute(
            QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("cp '%1' '%2' && sync '%2'").arg(journalPath, copyPath)});
        copy.push_back(t.nsecsElapsed() / 1e6);

        w = navigator.go(Screen::Journal);
        pick(w);
        auto* j = qobject_cast<JournalWindow*>(w);
        part<QListWidget>(j, "lbDates")->setCurrentRow(run);
        t.restart();
        press(part<PictureControl>(j, "imgErase"));
        erase.push_back(t.nsecsElapsed() / 1e6);
    }
    const double copied = median(copy);
    row("cp and sync of the 82 MB journal.dat", copied, "(yardstick)");
    char target[32];
    std::snprintf(target, sizeof target, "<= 2 x cp = %.0f", 2 * copied);
    row("journal erase: the 82 MB rewrite", median(erase), target);

    // Every save above did write: one more record for each add.
    for (auto [file, length, records] : {std::tuple{files::Doggies, DoggieRecord::Length, kDogs},
                                         {files::Health, HealthRecord::Length, kHealth},
                                         {files::Journal, JournalRecord::Length, kJournal}}) {
        const qint64 size = QFileInfo(state.path(file)).size();
        if (size != qint64(records + 7) * length)
            std::fprintf(stderr, "%s: %lld bytes, not the %d records expected\n", qPrintable(file), size, records + 7);
    }

    // A journal of 2,000 entries of one dog: an 8 MB report, previewed and printed.
    {
        QFile journal(state.path(files::Journal));
        journal.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 1; i <= 2000; ++i) {
            JournalRecord j;
            j.ID = i;
            j.DoggieID = dog;
            j.EntryDate = QStringLiteral("%1-%2-2005").arg(1 + i % 12).arg(1 + i % 28).leftJustified(10);
            j.Entry = QStringLiteral("Entry %1: a walk in the park, a nap,\r\nand dinner.").arg(i).leftJustified(4096);
            journal.write(j.toBytes());
        }
    }
    state.ReportType = Screen::Journal;
    state.DoggieRecNo = dog;
    row("2,000-entry journal report built and drawn", timeIt(3, {}, [&] { w = navigator.go(Screen::ReportViewer); }),
        "< 1000");
    qobject_cast<ReportViewer*>(w)->setPrintFile(pdf);
    row("2,000-entry journal report printed to PDF", timeIt(3, {}, [&] { part<QPushButton>(w, "cmdPrint")->click(); }),
        "< 1000");

    // The health grid of a dog with 500 of the 100,000 vaccinations.
    {
        QFile health(state.path(files::Health));
        health.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 1; i <= kHealth; ++i) {
            HealthRecord h;
            h.ID = i;
            h.DoggieID = i % 200 == 7 ? dog : 1 + i % 499;
            h.DateGiven = dateText(i).leftJustified(10);
            h.Vaccine = QStringLiteral("Vaccine %1").arg(i % 40).leftJustified(50);
            health.write(h.toBytes());
        }
    }
    row("health grid rebuilt: a dog of 500 rows of 100,000 picked", timeIt(9, open(Screen::Health), [&] { pick(w); }),
        "< 50");

    // A doggies.dat far larger than any person's (erased slots of a sparse
    // file): the register opens and saves, up to the bound, or says it is too large.
    for (const qint64 megabytes : {200, 1024}) {
        QFile dogs(state.path(files::Doggies));
        if (!dogs.open(QIODevice::WriteOnly) || !dogs.resize(megabytes << 20))
            std::fprintf(stderr, "cannot make a sparse doggies.dat of %lld MB\n", megabytes);
        char what[64];
        std::snprintf(what, sizeof what, "dog register opened on a %lld MB doggies.dat", megabytes);
        row(what, timeIt(3, {}, [&] { w = navigator.go(Screen::Doggies); }),
            megabytes < 1024 ? "< 1000" : "said at once");
        std::snprintf(what, sizeof what, "dog register: add saved, %lld MB doggies.dat", megabytes);
        row(what,
            timeIt(
                3,
                [&] {
                    w = navigator.go(Screen::Doggies);
                    press(part<PictureControl>(w, "imgAdd"));
                    part<QLineEdit>(w, "txtName")->setText(QStringLiteral("Newcomer"));
                },
                [&] { press(part<PictureControl>(w, "imgAdd")); }),
            megabytes < 1024 ? "< 1000" : "said at once");
        dogs.close();
        dogs.remove();
    }

    // The earlier yardsticks: the grid sort on its own.
    for (int n : {1000, 10000})
        for (const char* order : {"random", "ordered", "reverse", "all equal"})
            sortRows(n, order);
    return 0;
}
