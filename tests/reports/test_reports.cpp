#include "TestSupport.h"

#include "platform/PictureControl.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportViewer.h"

#include <QApplication>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

namespace {

// The lines given, each ended with CR LF.
template <typename... Lines>
QByteArray lines(const Lines&... list)
{
    return ((QByteArray(list) + "\r\n") + ...);
}

const auto pad = rawbytes::field;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& file)
{
    return run(u"pdfinfo"_s, {file}).section(u"Pages:"_s, 1).section(u'\n', 0, 0).toInt();
}

// Whether a strip of the pages holds anything but page colour.
bool inked(QWidget* pages, QRect strip)
{
    const QImage part = pages->grab(strip).toImage();
    QImage blank(part.size(), part.format());
    blank.fill(QColor(255, 255, 192));
    return part != blank;
}

// A red photo wider than its frame, shown fitted: red in the middle, not at the top.
bool showsFitted(QWidget* picture)
{
    const QImage shown = picture->grab().toImage();
    return shown.pixelColor(shown.rect().center()) == QColor(Qt::red) &&
           shown.pixelColor(shown.width() / 2, 2) != QColor(Qt::red);
}

ReportViewer* viewer(Session& s)
{
    return qobject_cast<ReportViewer*>(s.window());
}

// Scrolled to the end both ways, the last page shows to its bottom right
// corner, left of the vertical bar, with a few pixels to spare and no more.
bool endShows(ReportViewer* v)
{
    for (auto* bar : {part<QScrollBar>(v, "horizontalScroll"), part<QScrollBar>(v, "verticalScroll")})
        bar->setSliderPosition(bar->maximum());
    const auto* pages = part<ReportPage>(v, "Document");
    const QPoint corner =
        pages->mapTo(part<QWidget>(v, "DocumentContainer"), pages->pageRect(pages->pages().size() - 1).bottomRight());
    const QPoint end(part<QScrollBar>(v, "verticalScroll")->x() - part<QWidget>(v, "DocumentContainer")->x(),
                     part<QWidget>(v, "DocumentContainer")->height());
    return corner.x() < end.x() && corner.x() > end.x() - 10 && corner.y() < end.y() && corner.y() > end.y() - 10;
}

// The lines that read a printed PDF back need poppler's readers.
#define NEEDS_POPPLER()                                                                                                \
    if (QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty())                                                       \
    QSKIP("poppler-utils (pdftotext, pdfinfo, pdftoppm) is not here to read the printed PDF back")

} // namespace

class TestReports : public QObject {
    Q_OBJECT
private slots:
    // Each report as the print bone writes it, byte for byte. With no dog
    // picked a report is of a blank dog: no other dog's particulars, no
    // entries, no NUL characters and no message.
    void reports()
    {
        Session s;
        for (const auto& [screen, heading, lineCount] :
             {std::tuple{"dogs", QByteArray(), 22}, std::tuple{"health", QByteArray("Health Report For "), 5},
              std::tuple{"journal", QByteArray("Journal For "), 3}}) {
            RUN(s, u"go %1; click imgPrint; window ReportViewer; asked 0"_s.arg(screen));
            const QByteArray report = s.folder.read(files::Report);
            QVERIFY2(!report.contains('\0'), report.left(100).toPercentEncoding().constData());
            QCOMPARE(report.split('\n').first(), heading + (heading.isEmpty() ? "" : QByteArray(40, ' ')) + '\r');
            QCOMPARE(report.count("\r\n"), lineCount);
        }
        RUN(s, "go dogs; pick Rex; click imgPrint; asked 0");
        QCOMPARE(s.folder.read(files::Report),
                 lines("Rex", QByteArray(80, '='), " ", "Dog Name: " + pad("Rex", 40),
                       "Name on Pedigree: " + pad("Rex of Riverside", 40), "Birthdate: 5/12/2003 ",
                       "Came From: " + pad("Kennel", 40), "License Number: " + pad("L-123", 40), "",
                       "Vet Information:", QByteArray(16, '-'), "Name: " + pad("Dr. Vet", 40),
                       "Address: " + pad("1 High St, Town", 40), "Phone Number: " + pad("555-0100", 15),
                       "Emergency Number: " + pad("555-0199", 15), "", "Groomer Information:", QByteArray(20, '-'),
                       "Name: " + pad("Groomy", 40), "Phone Number: " + pad("555-0123", 15), "", ""));
        // The vaccinations of the dog in file order, texts trimmed; another
        // dog's records, an erased slot and a partial last record are none.
        s.folder.write(files::Health, standard::health() + rawbytes::health(7, 3, "7/7/2007", "  Lepto  ") +
                                          rawbytes::health(8, 3, "x", "y").left(50));
        RUN(s, "go health; pick Max; click imgPrint");
        const QByteArray heading = "DATE           VACCINE GIVEN";
        QCOMPARE(s.folder.read(files::Report),
                 lines("Health Report For " + pad("Max", 40), QByteArray(80, '='), "", heading, QByteArray(80, '-'),
                       "10/20/2003 - Rabies", "12/5/2004  - Distemper", "9/1/2003   - Lepto", "7/7/2007   - Lepto"));
        RUN(s, "go journal; click imgPrint"); // the dog picked in another window
        QCOMPARE(s.folder.read(files::Report),
                 lines("Journal For " + pad("Max", 40), QByteArray(80, '='), " ", "3-2-2005  ", QByteArray(15, '-'),
                       pad("Park\r\nand a nap", 4096), " ", "1-5-2005  ", QByteArray(15, '-'), pad("Snow", 4096), " ",
                       "3-2-2005  ", QByteArray(15, '-'), pad("Later", 4096), " "));
        RUN(s, "go health; pick Bella; click imgPrint");
        QCOMPARE(s.folder.read(files::Report),
                 lines("Health Report For " + pad("Bella", 40), QByteArray(80, '='), "", heading, QByteArray(80, '-')));
        RUN(s, "go health; pick Max; click imgPrint"); // read last: Windows replaces no file held open
        // A rule is one line on the page, however wide the font: the dashed one shortened beside the
        // photo, the first vaccination right below it.
        reportpage::LineReader report(s.folder.path(files::Report));
        const QList<reportpage::Page> pages = reportpage::layOut(report, true);
        QStringList texts;
        for (const reportpage::Line& line : pages.first())
            texts << line.text;
        const qsizetype dashes = texts.indexOf(QRegularExpression(u"^-+$"_s));
        QVERIFY2(texts.value(1).count(u'=') == texts.value(1).size() && texts.value(2).isEmpty() && dashes > 3 &&
                     texts[dashes].size() < 80 && texts[dashes - 1].endsWith(u"GIVEN") &&
                     texts.value(dashes + 1) == u"10/20/2003 - Rabies",
                 qPrintable(texts.join(u'|')));
    }

    // A report's lines as the preview reads them: a CR LF split across two
    // reads of 64 KiB is one line end, the text is the code page's, and the
    // last line is whole, with or without a CR to end it.
    void lineReader()
    {
        DataFolder folder(false);
        for (const char* end : {"", "\r"}) {
            folder.write(files::Report, QByteArray(65535, 'x') + "\r\n\x80 \xE9" + end);
            reportpage::LineReader reader(folder.path(files::Report));
            QStringList got;
            for (QString line; reader.next(line);)
                got.append(line);
            QCOMPARE(got, QStringList({QString(65535, u'x'), u"\u20AC \u00E9"_s}));
        }
    }

    void viewer_pageAndScrollBars()
    {
        Session s;
        RUN(s, "go dogs; pick Bella; click imgPrint");
        ReportViewer* v = viewer(s);
        QVERIFY(!part<PictureControl>(v, "dogPicture")->hasPicture()); // Bella has none
        QCOMPARE(part<PictureControl>(v, "dogPicture")->accessibleName(), u"Picture of your doggie"_s);
        QCOMPARE(part<QWidget>(v, "cmdPrint")->palette().color(QPalette::Button), QColor(224, 224, 224));
        QVERIFY(part<QWidget>(v, "cmdPrint")->font().bold());
        QCOMPARE(part<QWidget>(v, "cmdClose")->toolTip(), u"Close (Alt+C)"_s);
        QVERIFY(inked(part<ReportPage>(v, "Document"), QRect(24, 0, 300, 14)));     // the first line
        QVERIFY(!inked(part<ReportPage>(v, "Document"), QRect(24, 600, 300, 100))); // far below the last
        for (QWidget* rule :
             {part<QWidget>(v, "ruleAboveButtons"), part<QWidget>(v, "ruleBelowButtons")}) // drawn, not only placed
            QVERIFY(rule->grab().toImage().pixelColor(rule->width() / 2, 0).lightness() < 128);
        QCOMPARE(part<ReportPage>(v, "Document")->pos(), QPoint(1, 1)); // the page a pixel in from the corner
        part<QScrollBar>(v, "verticalScroll")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(part<ReportPage>(v, "Document")->pos(), QPoint(1, -33)); // a click on the arrow: a third of an inch
        QVERIFY(endShows(v));

        RUN(s,
            "click cmdClose; pick \"\" 2; click imgPrint; asked 1; title Error!; said gone.gif; window ReportViewer");
        QVERIFY(inked(part<ReportPage>(viewer(s), "Document"), QRect(24, 0, 300, 60)));

        // On a screen too small for it the preview fits whole: its viewport
        // shrinks and the scroll bars cover the rest.
        const QRect area(0, 0, 960, 540); // 1920 x 1080 at a scale of 2
        v = viewer(s);
        v->placeOn(area);
        QVERIFY(area.contains(v->frameGeometry()));
        QCOMPARE(v->frameGeometry().height(), 540);
        QVERIFY(endShows(v));
        QCOMPARE(part<QScrollBar>(v, "verticalScroll")->geometry().bottom(),
                 part<QWidget>(v, "DocumentContainer")->geometry().bottom());
        QVERIFY(part<QWidget>(v, "previewFrame")->geometry().bottom() < v->height());
        const QRect wide(0, 0, 1920, 1080); // asked past its corner, a window reaches the corner and stays whole
        placeWhole(v, wide, QPoint(5000, 5000));
        QCOMPARE(v->frameGeometry().bottomRight(), wide.bottomRight());
    }

    // Printing to a PDF file: every line whole, about 60 lines a page; a
    // failure is said, and the hourglass goes.
    void print()
    {
        Session s;
        QByteArray journal;
        for (int i = 1; i <= 60; ++i)
            journal +=
                rawbytes::journal(i, 3, QByteArray::number(i) + "-1-2005", "Entry number " + QByteArray::number(i));
        s.folder.write(files::Journal, standard::journal({1}) + journal.mid(4114));
        RUN(s, "go journal; pick Max; click imgPrint");
        const QString file = s.folder.path(u"out.pdf"_s);
        viewer(s)->setPrintFile(file);
        RUN(s, "alt P; asked 0");
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        viewer(s)->setPrintFile(s.folder.path(u"no such folder/out.pdf"_s));
        RUN(s, "double cmdPrint; asked 1; title Error!; said \"There was an error printing to your printer.\"; "
               "said out.pdf; said \"could not be opened\"; window ReportViewer"); // a double-click prints once
        if (const FullDisk full(4096); full.beneath) { // a full disk cuts the PDF short: said, never passed for a print
            viewer(s)->setPrintFile(s.folder.path(u"full.pdf"_s));
            RUN(s, "click cmdPrint; asked 2; said full.pdf; said \"did not take the whole report\"");
        }
        // A report that could not be written shows nothing and prints nothing:
        // Print says why again, never printing the report written before.
        RUN(s, "click cmdClose; mkdir report.txt; click imgPrint; said report.txt");
        viewer(s)->setPrintFile(s.folder.path(u"stale.pdf"_s));
        RUN(s, "click cmdPrint; title Error!; said report.txt; said \"Nothing was printed.\"");
        QVERIFY(!s.folder.exists(u"stale.pdf"_s));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        NEEDS_POPPLER();
        const QString text = run(u"pdftotext"_s, {u"-layout"_s, file, u"-"_s});
        for (const char* line : {"Journal For Max", "Park", "and a nap", "Entry number 2\n", "Entry number 60\n"})
            QVERIFY2(text.contains(QLatin1String(line)), line);
        QCOMPARE(pdfPages(file), 4); // 244 lines
    }

    // Print as a person does, through the system's print queues: with none
    // set up it says so; where the default queue is a CUPS-PDF printer (as
    // scripts/pdf-printer.sh and .ci/run make it), which writes each job as
    // a PDF under ~/PDF, the report reaches it under its name. Anywhere else
    // the test would put paper through a real printer.
    void print_throughTheSystem()
    {
#ifdef Q_OS_WIN
        QSKIP("only CUPS can be told here that no printer is set up");
#endif
        Session s;
        RUN(s, "go health; pick Max; click imgPrint");
        {
            const QByteArray was = qgetenv("LPDEST");
            const auto restore = qScopeGuard([&] { was.isNull() ? qunsetenv("LPDEST") : qputenv("LPDEST", was); });
            qputenv("LPDEST", "no-such-printer"); // the default printer CUPS is told of first
            RUN(s, "click cmdPrint; asked 1; title Error!; said \"There was an error printing to your printer.\n\n"
                   "No printer is set up on this computer.\"");
        }
        const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
        if (queue.isNull() || !run(u"lpstat"_s, {u"-v"_s, queue.printerName()}).contains(u"cups-pdf:"))
            QSKIP("the default print queue is no CUPS-PDF printer (scripts/pdf-printer.sh makes one, as root)");
        const QDir printed(QDir::homePath() + u"/PDF"_s);
        const QStringList before = printed.entryList({u"*.pdf"_s});
        RUN(s, "click cmdPrint; asked 1");
        QStringList now;
        QTRY_VERIFY_WITH_TIMEOUT((now = printed.entryList({u"*.pdf"_s})).size() > before.size(), 60000);
        const QString job = QSet<QString>(now.begin(), now.end()).subtract({before.begin(), before.end()}).values()[0];
        QVERIFY2(job.contains(u"Health_report_for_Max"), qPrintable(job)); // the job's name, as the queue writes it
        NEEDS_POPPLER();
        QTRY_COMPARE_WITH_TIMEOUT(pdfPages(printed.filePath(job)), 1, 20000); // written whole
    }

    // A long paragraph on paper and in the preview: wrapped at the right
    // margin and beside the photo, which keeps its proportions; every page
    // that Print prints is in the preview, and the job is named for the report.
    void print_wrapsAndShowsEveryPage()
    {
        Session s;
        QImage photo(300, 160, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QVERIFY(photo.save(s.folder.path(u"wide.png"_s)));
        QList<QByteArray> rex = standard::rexTexts();
        rex[11] = QFile::encodeName(s.folder.path(u"wide.png"_s));
        s.folder.write(files::Doggies, standard::dogs({1}) + rawbytes::doggie(2, rex));
        const QByteArray paragraph = QByteArray("Long walk by the river, ").repeated(160).trimmed();
        s.folder.write(files::Journal, rawbytes::journal(1, 2, "1-1-2005", paragraph) +
                                           rawbytes::journal(2, 2, "1-2-2005", paragraph) +
                                           rawbytes::journal(3, 2, "1-3-2005", paragraph));
        RUN(s, "go dogs; pick Rex");
        QVERIFY(showsFitted(s.window()->findChild<QWidget*>(u"imgDoggiePic"_s)));
        RUN(s, "go journal; pick Rex; click imgPrint; asked 0");
        ReportViewer* v = viewer(s);
        auto* document = part<ReportPage>(v, "Document");
        auto* photoShown = part<PictureControl>(v, "dogPicture");
        const qsizetype pages = document->pages().size();
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
        QVERIFY(endShows(v)); // the last line reachable
        // The photo in the page's middle third, below the heading, beside the text and over none of it.
        const QRect at = photoShown->geometry(), first = document->pageRect(0);
        QVERIFY(at.left() > first.width() / 3 && at.right() < first.width() * 2 / 3);
        QVERIFY(at.top() > 40 && at.bottom() < first.height() / 5);
        QVERIFY(showsFitted(photoShown));
        photoShown->hide();
        QVERIFY(!inked(document, at));
        QVERIFY(inked(document, QRect(24, at.top(), at.left() - 24, at.height())));
        for (qsizetype i = 0; i < pages; ++i) {
            const QRect page = document->pageRect(i);
            QVERIFY(inked(document, QRect(page.x() + 24, page.y(), 400, 40)));
            QVERIFY(!inked(document, QRect(page.x() + 760, page.y(), 56, page.height()))); // the right margin
        }
        // The second page's text runs where the first keeps room for the photo.
        QVERIFY(inked(document, at.translated(0, document->pageRect(1).y())));

        const QString file = s.folder.path(u"out.pdf"_s);
        v->setPrintFile(file);
        RUN(s, "click cmdPrint; asked 0");
        NEEDS_POPPLER();
        QCOMPARE(pdfPages(file), int(pages));
        QVERIFY(run(u"pdfinfo"_s, {file}).contains("Journal report for Rex"_L1));
        // On paper the photo stands where the preview shows it, on page 1 only.
        run(u"pdftoppm"_s, u"-r 72 -f 1 -l 2 -png %1 %2"_s.arg(file, s.folder.path(u"page"_s)).split(u' '));
        const QImage paper(s.folder.path(u"page-1.png"_s));
        QVERIFY(paper.pixelColor(315, 102).red() > 200 && paper.pixelColor(315, 102).green() < 60);
        QCOMPARE(paper.pixelColor(315, 70), QColor(Qt::white)); // the photo is not stretched to its frame
        QCOMPARE(QImage(s.folder.path(u"page-2.png"_s)).pixelColor(315, 102), QColor(Qt::white)); // page 1 only
    }
};

QTEST_MAIN(TestReports)
#include "test_reports.moc"
