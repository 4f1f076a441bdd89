#include "TestSupport.h"

#include "frame/RegisterWindow.h"
#include "platform/PictureControl.h"
#include "records/FixedText.h"
#include "reports/ReportBuilders.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportViewer.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

Q_DECLARE_METATYPE(Screen)

namespace {

QByteArray lines(const QList<QByteArray>& list)
{
    QByteArray out;
    for (const QByteArray& line : list)
        out += line + "\r\n";
    return out;
}

QByteArray pad(const QByteArray& text, int width)
{
    return rawbytes::field(text, width);
}

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("(pdftotext failed: %1)").arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(30000))
        return -1;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// Counts the pixels of a strip of the page that are not page colour.
int inkIn(const QPixmap& page, QRect strip)
{
    const QImage image = page.toImage();
    const qreal ratio = page.devicePixelRatio();
    const QRect r((QPointF(strip.topLeft()) * ratio).toPoint(), (QSizeF(strip.size()) * ratio).toSize());
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) != QColor(255, 255, 192))
                ++ink;
    return ink;
}

const QList<QByteArray> kMax = {
    "Max",      "Sir Max",  "5/12/2003", "L-1",      "Kennel", "Dr. Jones", "12 Main St, Springfield",
    "555-0101", "555-0199", "Groomy",    "555-0123", ""};

struct Fixture {
    Fixture()
    {
        folder.write(files::Doggies, rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, kMax));
        folder.write(files::Health, rawbytes::health(1, 2, "10/20/2003", "Rabies    ") +
                                        rawbytes::health(2, 1, "1/1/2004", "Parvo") + QByteArray(68, '\0') +
                                        rawbytes::health(4, 2, "9/1/2003", "  Lepto"));
        folder.write(files::Journal, rawbytes::journal(1, 2, "3-2-2005", "Park, then \"home\"\r\n  a nap") +
                                         QByteArray(4114, '\0') + rawbytes::journal(3, 1, "3-3-2005", "Bella"));
    }
    // Opens the viewer the way the print bone of `from` does, with dog `row` picked.
    ReportViewer* view(Screen from, int row)
    {
        QWidget* w = app.navigator.go(from);
        if (row >= 0)
            pickDog(w, row);
        click(qobject_cast<RegisterWindow*>(w)->imgPrint);
        settle();
        return qobject_cast<ReportViewer*>(app.navigator.current());
    }
    DataFolder folder;
    App app{folder.folder()};
    ScriptedPromptsScope prompts;
};

} // namespace

class TestReports : public QObject {
    Q_OBJECT
private slots:
    void doggieReport()
    {
        Fixture f;
        f.app.state.DoggieRecord = DoggieRecord::fromBytes(rawbytes::doggie(2, kMax));
        BuildDoggieReport(f.app.state);
        QCOMPARE(f.folder.read(files::Report), lines({"Max",
                                                      QByteArray(80, '='),
                                                      " ",
                                                      "Dog Name: " + pad("Max", 40),
                                                      "Name on Pedigree: " + pad("Sir Max", 40),
                                                      "Birthdate: 5/12/2003 ",
                                                      "Came From: " + pad("Kennel", 40),
                                                      "License Number: " + pad("L-1", 40),
                                                      "",
                                                      "Vet Information:",
                                                      QByteArray(16, '-'),
                                                      "Name: " + pad("Dr. Jones", 40),
                                                      "Address: " + pad("12 Main St, Springfield", 40),
                                                      "Phone Number: " + pad("555-0101", 15),
                                                      "Emergency Number: " + pad("555-0199", 15),
                                                      "",
                                                      "Groomer Information:",
                                                      QByteArray(20, '-'),
                                                      "Name: " + pad("Groomy", 40),
                                                      "Phone Number: " + pad("555-0123", 15),
                                                      "",
                                                      ""}));
        QVERIFY(!f.app.state.ReportFound);
    }

    void doggieReport_blankDog()
    {
        Fixture f;
        BuildDoggieReport(f.app.state); // no dog chosen yet: a blank working record
        const QList<QByteArray> got = f.folder.read(files::Report).split('\n');
        QCOMPARE(got.size(), 23);
        QCOMPARE(got[0], QByteArray("\r"));
        QCOMPARE(got[3], "Dog Name: " + QByteArray(40, ' ') + "\r");
        QCOMPARE(got[13], "Phone Number: " + QByteArray(15, ' ') + "\r");
    }

    void healthReport()
    {
        Fixture f;
        f.app.state.DoggieRecord = DoggieRecord::fromBytes(rawbytes::doggie(2, kMax));
        f.app.state.DoggieRecNo = 2;
        BuildHealthReport(f.app.state);
        QCOMPARE(f.folder.read(files::Report),
                 lines({"Health Report For " + pad("Max", 40), QByteArray(80, '='), "", "DATE           VACCINE GIVEN",
                        QByteArray(80, '-'), "10/20/2003 - Rabies", "9/1/2003   - Lepto"}));
        QVERIFY(f.app.state.ReportFound);
        QCOMPARE(f.app.state.HealthRecord.ID, 4); // the last record read
    }

    void healthReport_noEntries_data()
    {
        QTest::addColumn<int>("doggieRecNo");
        QTest::newRow("a dog without vaccinations") << 7;
        QTest::newRow("no dog picked: erased slots are no entries") << 0;
    }
    void healthReport_noEntries()
    {
        QFETCH(int, doggieRecNo);
        Fixture f;
        f.folder.write(files::Health, f.folder.read(files::Health) + rawbytes::health(5, 2, "x", "y").left(50));
        f.app.state.DoggieRecNo = doggieRecNo;
        BuildHealthReport(f.app.state);
        QCOMPARE(f.folder.read(files::Report), lines({"Health Report For " + QByteArray(40, ' '), QByteArray(80, '='),
                                                      "", "DATE           VACCINE GIVEN", QByteArray(80, '-')}));
        QVERIFY(!f.app.state.ReportFound);
    }

    void journalReport()
    {
        Fixture f;
        f.app.state.DoggieRecord = DoggieRecord::fromBytes(rawbytes::doggie(2, kMax));
        f.app.state.DoggieRecNo = 2;
        BuildJournalReport(f.app.state);
        QCOMPARE(f.folder.read(files::Report),
                 lines({"Journal For " + pad("Max", 40), QByteArray(80, '='), " ", "3-2-2005  ", QByteArray(15, '-'),
                        pad("Park, then \"home\"\r\n  a nap", 4096), " "}));
        QVERIFY(f.app.state.ReportFound);

        f.app.state.DoggieRecNo = 0;
        BuildJournalReport(f.app.state);
        QCOMPARE(f.folder.read(files::Report), lines({"Journal For " + pad("Max", 40), QByteArray(80, '='), " "}));
    }

    void lineReader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n \r\n") << QStringList{"", "", " "};
        QTest::newRow("CR last in the file") << QByteArray("a\r") << QStringList{"a"};
        // A CR LF split across two reads of 64 KiB is one line end.
        QTest::newRow("CR LF across reads")
            << QByteArray(65535, 'x') + "\r\ny" << QStringList{QString(65535, u'x'), "y"};
        QTest::newRow("code page") << QByteArray("\x80 \xE9") << QStringList{QStringLiteral("\u20AC \u00E9")};
    }
    void lineReader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        DataFolder folder(false);
        folder.write(files::Report, bytes);
        reportpage::LineReader reader(folder.path(files::Report));
        QStringList got;
        QString line;
        while (reader.next(line))
            got.append(line);
        QCOMPARE(got, lines);
    }

    void viewer_scrollBars()
    {
        Fixture f;
        ReportViewer* v = f.view(Screen::Doggies, 1);
        QVERIFY(v);
        QCOMPARE(v->horizontalScroll->minimum(), -10);
        QCOMPARE(v->horizontalScroll->maximum(), 2925);
        QCOMPARE(v->verticalScroll->minimum(), -10);
        QCOMPARE(v->verticalScroll->maximum(), 8915);
        QCOMPARE(v->horizontalScroll->singleStep(), 1);
        QCOMPARE(v->verticalScroll->singleStep(), 500);
        QCOMPARE(v->horizontalScroll->pageStep(), 9615);
        QCOMPARE(v->verticalScroll->pageStep(), 6975);
        QCOMPARE(v->Document->size(), QSize(816, 1056));
        QCOMPARE(v->Document->pos(), QPoint(1, 1)); // the page starts 10 twips in
        v->verticalScroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(v->verticalScroll->value(), 490);
        QCOMPARE(v->Document->pos(), QPoint(1, -33));
        v->verticalScroll->setSliderPosition(v->verticalScroll->maximum()); // dragged to the bottom: 50 twips to spare
        QCOMPARE(v->Document->geometry().bottom() + 1, v->DocumentContainer->height() - 3);
        v->horizontalScroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(v->horizontalScroll->value(), 2925);
        QCOMPARE(v->verticalScroll->geometry().right(), v->DocumentContainer->geometry().right());
        QCOMPARE(v->horizontalScroll->geometry().top(), v->DocumentContainer->geometry().bottom() + 1);
    }

    void viewer_drawsThePageAndThePicture()
    {
        Fixture f;
        ReportViewer* v = f.view(Screen::Doggies, 0); // Bella: no picture
        QCOMPARE(f.folder.read(files::Report).left(7), QByteArray("Bella\r\n"));
        const QPixmap& page = v->Document->page();
        QVERIFY(inkIn(page, QRect(24, 0, 300, 14)) > 20);   // the first line
        QCOMPARE(inkIn(page, QRect(24, 600, 300, 100)), 0); // far below the last
        QVERIFY(!v->dogPicture->hasPicture());
        QVERIFY(f.prompts->shown.isEmpty());
    }

    void viewer_drawsTheHeadingWithoutEntries()
    {
        Fixture f;
        f.folder.write(files::Health, QByteArray());
        ReportViewer* v = f.view(Screen::Health, 1);
        QVERIFY(!f.app.state.ReportFound);
        QVERIFY(inkIn(v->Document->page(), QRect(24, 0, 300, 14)) > 20);
    }

    void viewer_missingPictureGivesOneMessage()
    {
        Fixture f;
        QList<QByteArray> texts = kMax;
        texts[11] = f.folder.path(QStringLiteral("gone.jpg")).toUtf8();
        f.folder.write(files::Doggies, rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, texts));
        ReportViewer* v = f.view(Screen::Doggies, 1);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().title, QStringLiteral("Error!"));
        QVERIFY(f.prompts->shown.first().text.contains(QStringLiteral("gone.jpg")));
        QVERIFY(inkIn(v->Document->page(), QRect(24, 0, 300, 14)) > 20);
        QVERIFY(v->isVisible());
    }

    void viewer_picturesShowTheDog()
    {
        Fixture f;
        QList<QByteArray> texts = kMax;
        texts[11] = f.folder.path(QStringLiteral("doggie.gif")).toUtf8();
        f.folder.write(files::Doggies, rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, texts));
        ReportViewer* v = f.view(Screen::Doggies, 1);
        QVERIFY(v->dogPicture->hasPicture());
        QCOMPARE(v->dogPicture->geometry(), QRect(352, 64, 89, 97));
    }

    void printBone_reportsTheDogOfDoggieRecNo()
    {
        // Max picked in the health register; the journal's list load leaves
        // the last dog, Rex, in the working record.
        Fixture f;
        f.folder.write(files::Doggies,
                       rawbytes::doggie(1, "Bella") + rawbytes::doggie(2, kMax) + rawbytes::doggie(3, "Rex"));
        pickDog(f.app.navigator.go(Screen::Health), 1);
        f.view(Screen::Journal, -1);
        QVERIFY(f.folder.read(files::Report).startsWith("Journal For Max "));
    }

    // With no dog to show, the report is of a blank dog: no other dog's
    // particulars, no entries, no NUL characters and no message.
    void printBone_withoutADogToShow_data()
    {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<int>("doggieRecNo");
        QTest::addColumn<QByteArray>("heading");
        QTest::addColumn<int>("lineCount");
        const std::tuple<const char*, Screen, QByteArray, int> reports[] = {
            {"dog", Screen::Doggies, QByteArray(), 22},
            {"health", Screen::Health, "Health Report For " + QByteArray(40, ' '), 5},
            {"journal", Screen::Journal, "Journal For " + QByteArray(40, ' '), 3}};
        for (const auto& [name, screen, heading, lineCount] : reports) {
            QTest::addRow("%s, no dog picked", name) << screen << 0 << heading << lineCount;
            QTest::addRow("%s, an erased slot", name) << screen << 2 << heading << lineCount;
            QTest::addRow("%s, past the end of the file", name) << screen << 3 << heading << lineCount;
        }
    }
    void printBone_withoutADogToShow()
    {
        QFETCH(Screen, screen);
        QFETCH(int, doggieRecNo);
        QFETCH(QByteArray, heading);
        QFETCH(int, lineCount);
        Fixture f; // Max's vaccinations and journal entry stay behind as dog 2's
        f.folder.write(files::Doggies, rawbytes::doggie(1, "Bella") + QByteArray(439, '\0'));
        f.app.state.DoggieRecNo = doggieRecNo;
        f.view(screen, -1);
        const QByteArray report = f.folder.read(files::Report);
        QVERIFY2(!report.contains('\0'), report.left(100).toPercentEncoding().constData());
        QCOMPARE(report.split('\n').first(), heading + '\r');
        QCOMPARE(report.count("\r\n"), lineCount);
        QVERIFY(f.prompts->shown.isEmpty());
    }

    void print_toPdfShowsTheLinesWhole()
    {
        Fixture f;
        ReportViewer* v = f.view(Screen::Journal, 1);
        const QString pdf = f.folder.path(QStringLiteral("out.pdf"));
        v->setPrintFile(pdf);
        click(v->cmdPrint);
        QVERIFY(f.prompts->shown.isEmpty());
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Journal For Max")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Park, then \"home\"")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("a nap")), qPrintable(text));
        QCOMPARE(pdfPages(pdf), 1);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void print_longJournalRunsOverPages()
    {
        Fixture f;
        QByteArray journal;
        for (int i = 1; i <= 60; ++i)
            journal +=
                rawbytes::journal(i, 2, QByteArray::number(i) + "-1-2005", "Entry number " + QByteArray::number(i));
        f.folder.write(files::Journal, journal);
        ReportViewer* v = f.view(Screen::Journal, 1);
        const QString pdf = f.folder.path(QStringLiteral("long.pdf"));
        v->setPrintFile(pdf);
        click(v->cmdPrint);
        const int pages = pdfPages(pdf);
        QVERIFY2(pages >= 4 && pages <= 5, qPrintable(QString::number(pages))); // 243 lines, about 60 a page
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Entry number 1\n")) || text.contains(QStringLiteral("Entry number 1 ")));
        QVERIFY(text.contains(QStringLiteral("Entry number 60")));
    }

    void print_failureIsReported()
    {
        Fixture f;
        ReportViewer* v = f.view(Screen::Doggies, 1);
        v->setPrintFile(f.folder.path(QStringLiteral("no such folder/out.pdf")));
        click(v->cmdPrint);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().title, QStringLiteral("Error!"));
        QCOMPARE(f.prompts->shown.first().text, QStringLiteral("There was an error printing to your printer."));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(v->isVisible());
    }

    void print_withoutAPrinter()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a printer; the test would print on it");
        Fixture f;
        ReportViewer* v = f.view(Screen::Doggies, 1);
        click(v->cmdPrint);
        QCOMPARE(f.prompts->shown.size(), 1);
        QCOMPARE(f.prompts->shown.first().text, QStringLiteral("There was an error printing to your printer."));
    }

    // Print as a person does, through the system's default print queue. It
    // runs where that queue is a CUPS-PDF printer, which writes each job as a
    // PDF under ~/PDF; elsewhere it would put paper through a real printer.
    void print_throughTheDefaultQueue()
    {
        const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
        if (queue.isNull())
            QSKIP("no default print queue: install cups and printer-driver-cups-pdf and make a CUPS-PDF queue the "
                  "default (as .ci/run does)");
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-v"), queue.printerName()});
        if (!lpstat.waitForFinished(10000) || !lpstat.readAllStandardOutput().contains("cups-pdf:"))
            QSKIP("the default print queue is not a CUPS-PDF printer; the test would print on paper");
        Fixture f;
        ReportViewer* v = f.view(Screen::Health, 1);
        const QDir out(QDir::homePath() + QStringLiteral("/PDF"));
        const QDateTime pressed = QDateTime::currentDateTime().addSecs(-1); // file times are whole seconds
        click(v->cmdPrint);
        QVERIFY(f.prompts->shown.isEmpty());
        // The queue names its files after the document, so an earlier job's
        // file may bear the same name: the new one is told by its time.
        QString printed;
        auto findPrinted = [&] {
            for (const QFileInfo& pdf : out.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time)) {
                if (pdf.lastModified() >= pressed && pdf.size() > 0 && pdfPages(pdf.filePath()) > 0) {
                    printed = pdf.filePath();
                    return true;
                }
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(findPrinted(), 60000);
        QCOMPARE(pdfPages(printed), 1); // the queue re-encodes the fonts, so only the pages are read back
    }

    void unwritableReport_isReported()
    {
        Fixture f;
        QVERIFY(QDir(f.folder.folder()).mkdir(files::Report)); // a folder where the report goes
        ReportViewer* v = f.view(Screen::Doggies, 1);
        QVERIFY(v->isVisible());
        QCOMPARE(f.prompts->shown.size(), 1);
        QVERIFY(f.prompts->shown.first().text.contains(QStringLiteral("report.txt")));
    }
};

QTEST_MAIN(TestReports)
#include "test_reports.moc"
