// Times the health grid's sort and rebuild. Not a test: run it by hand,
//   build/pawfolio_bench
// and read the table it prints.
#include "health/FlexGrid.h"
#include "health/FrmHealth.h"
#include "health/GridSort.h"
#include "reports/FrmReportViewer.h"
#include "records/Records.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"
#include "shell/Screens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

// Date texts as users type them: m/d/yyyy.
QString dateText(int i)
{
    return QStringLiteral("%1/%2/%3").arg(1 + i % 12).arg(1 + (i / 12) % 28).arg(1990 + (i / 336) % 40);
}

std::vector<QStringList> makeRows(int n, const char* order)
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
        for (QStringList& row : rows)
            row[0] = QStringLiteral("5/12/2003");
    return rows;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("%-34s %12s\n", "what", "median ms");
    for (int n : {1000, 10000}) {
        for (const char* order : {"random", "ordered", "reverse", "all equal"}) {
            std::vector<double> times;
            for (int run = 0; run < (n > 1000 ? 3 : 9); ++run) {
                MemoryGrid grid(makeRows(n, order));
                QElapsedTimer t;
                t.start();
                QSort(grid, 0, 0, n - 1, false, false);
                times.push_back(t.nsecsElapsed() / 1e6);
            }
            std::printf("QSort %6d rows, %-13s %12.2f\n", n, order, median(times));
        }
    }

    // 100,000 vaccinations of 200 dogs; dog 7 has 500 of them, spread out.
    QTemporaryDir dir;
    SharedState state(dir.path());
    {
        QFile file(state.path(files::Health));
        file.open(QIODevice::WriteOnly);
        QByteArray all;
        for (int i = 1; i <= 100000; ++i) {
            HealthRecord h;
            h.ID = i;
            h.DoggieID = (i % 200 == 7) ? 7 : 100 + (i % 100);
            h.DateGiven = dateText(i).leftJustified(10);
            h.Vaccine = QStringLiteral("Vaccine %1").arg(i).leftJustified(50);
            all += h.toBytes();
        }
        file.write(all);
    }
    Navigator navigator(state);
    registerScreens(navigator);
    auto* health = qobject_cast<FrmHealth*>(navigator.go(Screen::Health));
    state.DoggieRecNo = 7;
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        health->LoadHealthGrid();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%-34s %12.2f   (%d rows)\n", "grid rebuild, 500 of 100,000", median(times),
                health->MSFlexGrid1->rows() - 2);

    // A journal of 2,000 entries of one dog: an 8 MB report.
    {
        QFile file(state.path(files::Doggies));
        file.open(QIODevice::WriteOnly);
        DoggieRecord dog;
        dog.ID = 1;
        dog.Name = QStringLiteral("Max").leftJustified(40);
        file.write(dog.toBytes());
    }
    {
        QFile file(state.path(files::Journal));
        file.open(QIODevice::WriteOnly);
        for (int i = 1; i <= 2000; ++i) {
            JournalRecord j;
            j.ID = i;
            j.DoggieID = 1;
            j.EntryDate = QStringLiteral("%1-%2-2005").arg(1 + i % 12).arg(1 + i % 28).leftJustified(10);
            j.Entry = QStringLiteral("Entry %1: a walk in the park, a nap,\r\nand dinner.").arg(i).leftJustified(4096);
            file.write(j.toBytes());
        }
    }
    state.DoggieRecNo = 1;
    state.DoggieRecord.Name = QStringLiteral("Max").leftJustified(40);
    state.ReportType = QStringLiteral("Journal");
    QElapsedTimer t;
    t.start();
    auto* viewer = qobject_cast<FrmReportViewer*>(navigator.go(Screen::ReportViewer));
    const double shown = t.nsecsElapsed() / 1e6;
    const QString pdf = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("journal.pdf"));
    viewer->setPrintFile(pdf);
    t.restart();
    viewer->cmdPrint_Click();
    const double printed = t.nsecsElapsed() / 1e6;
    std::printf("%-34s %12.2f   (%lld bytes of report)\n", "journal of 2,000: build + preview", shown,
                QFileInfo(state.path(files::Report)).size());
    std::printf("%-34s %12.2f   (%s)\n", "journal of 2,000: print to PDF", printed, qPrintable(pdf));
    return 0;
}
