#include "reports/ReportViewer.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "records/FileError.h"
#include "records/FixedText.h"
#include "records/SharedState.h"
#include "reports/ReportBuilders.h"
#include "reports/ReportRenderer.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QWheelEvent>

using controls::place;

namespace {

CommandButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* b = place(new CommandButton(text, parent), name, geometry);
    b->setFont(fonts::plain(9.75, true));
    QPalette p = b->palette();
    p.setColor(QPalette::Button, colours::LightGrey);
    b->setPalette(p);
    return b;
}

QFrame* rule(QWidget* parent, const char* name, int topTwips)
{
    auto* line = place(new QFrame(parent), name, QRect(0, twips::px(topTwips), twips::px(10320), 1));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain); // black whatever the style: a sunken line takes its shades
    return line;
}

const QString kErrorTitle = QStringLiteral("Error!");

const QColor kBetweenPages(160, 160, 160);

// The reports, one a register, which Close returns to: how each is named and
// how it is written.
struct Report {
    Screen of;
    const char* name;
    void (*build)(SharedState& state);
};
const Report kReports[] = {{Screen::Doggies, "Doggie", BuildDoggieReport},
                           {Screen::Health, "Health", BuildHealthReport},
                           {Screen::Journal, "Journal", BuildJournalReport}};

// The report asked for; none when none was.
const Report* reportOf(std::optional<Screen> asked)
{
    for (const Report& report : kReports) {
        if (report.of == asked)
            return &report;
    }
    return nullptr;
}

} // namespace

void CommandButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept(); // the first press and release made the click
}

ReportPage::ReportPage(QWidget* parent) : QWidget(parent)
{
    controls::setBackground(this, kBetweenPages);
    setPages({reportpage::Page()});
}

void ReportPage::setPages(const QList<reportpage::Page>& pages)
{
    m_pages = pages;
    const auto n = int(qMax<qsizetype>(1, pages.size()));
    resize(twips::size(reportpage::WidthTwips, n * reportpage::HeightTwips + (n - 1) * GapTwips));
    update();
}

QRect ReportPage::pageRect(qsizetype index) const
{
    return QRect(QPoint(0, twips::px(int(index) * (reportpage::HeightTwips + GapTwips))),
                 twips::size(reportpage::WidthTwips, reportpage::HeightTwips));
}

void ReportPage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        const QRect page = pageRect(i);
        if (!page.intersects(event->rect()))
            continue;
        painter.fillRect(page, colours::LightYellow);
        reportpage::drawPage(painter, m_pages[i], 1.0 / twips::PerPixel, page.topLeft());
    }
}

void ReportPage::wheelEvent(QWheelEvent* event)
{
    emit wheeled(event);
}

ReportViewer::ReportViewer(SharedState& state, ScreenRequests& screens)
    : FormWindow(state, QStringLiteral("VIEW"), 10335, 8415, colours::LightCyan), m_screens(screens)
{
    setObjectName(QStringLiteral("ReportViewer"));
    // Made in the order Tab takes them.
    cmdPrint = button(this, "cmdPrint", QStringLiteral("Print"), twips::rect(240, 120, 1095, 375));
    cmdClose = button(this, "cmdClose", QStringLiteral("Close"), twips::rect(9000, 120, 1095, 375));
    ruleAboveButtons = rule(this, "ruleAboveButtons", 0);
    ruleBelowButtons = rule(this, "ruleBelowButtons", 600);
    previewFrame =
        place(new QGroupBox(QStringLiteral("Preview:"), this), "previewFrame", twips::rect(120, 720, 10095, 7575));
    controls::setBackground(previewFrame, colours::LightCyan);
    DocumentContainer = place(new QWidget(previewFrame), "DocumentContainer", twips::rect(120, 240, 9615, 6975));
    controls::setBackground(DocumentContainer, colours::LightYellow);
    Document = new ReportPage(DocumentContainer);
    Document->setObjectName(QStringLiteral("Document"));
    const QRect photo = reportpage::PhotoTwips;
    dogPicture = place(new PictureControl(Document), "dogPicture",
                       twips::rect(photo.x(), photo.y(), photo.width(), photo.height()));
    dogPicture->setAccessibleName(QStringLiteral("Picture of your doggie"));
    horizontalScroll = place(new QScrollBar(Qt::Horizontal, previewFrame), "horizontalScroll", QRect());
    verticalScroll = place(new QScrollBar(Qt::Vertical, previewFrame), "verticalScroll", QRect());
    for (QPushButton* b : {cmdPrint, cmdClose}) {
        const QKeySequence key(Qt::ALT | (b == cmdPrint ? Qt::Key_P : Qt::Key_C));
        b->setToolTip(controls::withKey(b->text(), key));
        controls::addKey(b, key, [b] { b->click(); });
    }

    connect(cmdPrint, &QPushButton::clicked, this, &ReportViewer::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &ReportViewer::cmdClose_Click);
    // Dragging a thumb moves the page as it goes.
    connect(horizontalScroll, &QScrollBar::valueChanged, this, &ReportViewer::movePage);
    connect(verticalScroll, &QScrollBar::valueChanged, this, &ReportViewer::movePage);
    connect(Document, &ReportPage::wheeled, this,
            [this](QWheelEvent* e) { QCoreApplication::sendEvent(verticalScroll, e); });
}

void ReportViewer::load()
{
    const Report* report = reportOf(state().ReportType);
    // A report of years of journal takes a moment: the pointer says so.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    try {
        // The pages show what Print prints, found entries or not.
        if (report) {
            report->build(state());
            RenderReport();
        }
    } catch (const FileError& error) {
        m_failure = error;
        reportFileError(this, error);
    }
    SizeScrolls(DocumentContainer, Document);
}

void ReportViewer::SizeScrolls(QWidget* container, QWidget* page)
{
    const QRect c = container->geometry();
    const int cWidth = twips::fromPx(c.width());
    const int cHeight = twips::fromPx(c.height());
    const int pageWidth = twips::fromPx(page->width());
    const int pageHeight = twips::fromPx(page->height());
    const int barWidth = horizontalScroll->sizeHint().height();

    horizontalScroll->setGeometry(c.x(), c.y() + c.height(), c.width(), barWidth);
    horizontalScroll->setRange(-10, pageWidth + 300 - cWidth);
    horizontalScroll->setSingleStep(1);
    horizontalScroll->setPageStep(cWidth);
    horizontalScroll->setValue(horizontalScroll->minimum());

    verticalScroll->setGeometry(c.x() + c.width() - barWidth, c.y(), barWidth, c.height());
    verticalScroll->setRange(-10, pageHeight + 50 - cHeight);
    verticalScroll->setSingleStep(500);
    verticalScroll->setPageStep(cHeight);
    verticalScroll->setValue(verticalScroll->minimum());
    verticalScroll->raise();
    movePage();
}

void ReportViewer::movePage()
{
    Document->move(qRound(-horizontalScroll->value() / qreal(twips::PerPixel)),
                   qRound(-verticalScroll->value() / qreal(twips::PerPixel)));
}

void ReportViewer::RenderReport()
{
    // The photo first: the lines beside it wrap before it.
    const bool photo = showDoggiePicture();
    try {
        reportpage::LineReader lines(state().path(files::Report));
        Document->setPages(reportpage::layOut(lines, photo));
        m_built = true;
    } catch (const FileError& error) {
        m_failure = error;
        prompts().message(this, kErrorTitle, QStringLiteral("There was an error producing your print preview."),
                          Prompts::Icon::Critical);
        prompts().message(this, QString(), error.message(), Prompts::Icon::None);
        return;
    }
}

bool ReportViewer::showDoggiePicture()
{
    // The text keeps the photo's room; the photo shows when it has been read.
    const QString picture = fixedtext::shown(state().workingDoggie.Picture);
    if (picture.isEmpty())
        return false;
    dogPicture->loadPhoto(picture, [this, picture](bool shown) {
        if (shown || !m_built)
            return;
        // The report stays shown; only the picture is missing.
        prompts().message(this, kErrorTitle,
                          QStringLiteral("There was an error producing your print preview.\n\n"
                                         "The dog's picture \"%1\" is missing or is not a picture; "
                                         "the report is shown without it.")
                              .arg(picture),
                          Prompts::Icon::Critical);
    });
    return true;
}

void ReportViewer::printingFailed(const QString& reason)
{
    prompts().message(this, kErrorTitle, QStringLiteral("There was an error printing to your printer.\n\n") + reason,
                      Prompts::Icon::Critical);
}

QString ReportViewer::jobName() const
{
    const Report* asked = reportOf(state().ReportType);
    const QString report = QLatin1String(asked ? asked->name : "Journal");
    const QString dog = fixedtext::shown(state().workingDoggie.Name);
    return dog.isEmpty() ? QStringLiteral("%1 report").arg(report)
                         : QStringLiteral("%1 report for %2").arg(report, dog);
}

void ReportViewer::cmdPrint_Click()
{
    if (!m_built) { // nothing was previewed, so nothing is printed, and the reason is said again
        if (m_failure)
            reportFileError(this, *m_failure, QStringLiteral("Nothing was printed."));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });

    QPrinter printer(QPrinter::HighResolution);
    if (!m_printFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_printFile);
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            printingFailed(QStringLiteral("No printer is set up on this computer."));
            return;
        }
        printer.setPrinterName(info.printerName());
    }
    printer.setDocName(jobName());
    const qreal margin = reportpage::MarginTwips / 1440.0;
    if (!printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                           QMarginsF(margin, margin, margin, margin), QPageLayout::Inch))) {
        printingFailed(QStringLiteral("The printer does not take US Letter pages with margins of a quarter inch."));
        return;
    }
    const QString where = m_printFile.isEmpty() ? QStringLiteral("The printer \"%1\"").arg(printer.printerName())
                                                : QStringLiteral("The file \"%1\"").arg(m_printFile);
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer)) {
        printingFailed(where + QStringLiteral(" could not be opened for printing."));
        return;
    }
    const qreal unitsPerTwip = printer.resolution() / 1440.0;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    bool pagesOk = true;
    const QList<reportpage::Page>& pages = Document->pages();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            pagesOk = printer.newPage() && pagesOk;
        reportpage::drawPage(painter, pages[i], unitsPerTwip);
        if (i == 0 && dogPicture->hasPicture()) { // where the preview shows it
            const QPixmap& photo = dogPicture->picture();
            const QRectF frame(QRectF(reportpage::PhotoTwips).topLeft() * unitsPerTwip,
                               QSizeF(reportpage::PhotoTwips.size()) * unitsPerTwip);
            painter.drawPixmap(PictureControl::fitted(photo.size(), frame), photo, photo.rect());
        }
    }
    if (!painter.end() || !pagesOk || !printedWhole())
        printingFailed(where + QStringLiteral(" did not take the whole report; the disk may be full."));
}

bool ReportViewer::printedWhole() const
{
    // A PDF the program writes itself ends with its end-of-file mark, which a
    // full disk cuts off.
    if (m_printFile.isEmpty())
        return true;
    QFile file(m_printFile);
    return file.open(QIODevice::ReadOnly) && file.seek(qMax<qint64>(0, file.size() - 64)) &&
           file.read(64).contains("%%EOF");
}

void ReportViewer::fitInto(const QSize& room)
{
    // Only the viewport gives way, down to a fifth of its size; the scroll
    // bars then cover more of the page.
    const QSize viewport = DocumentContainer->size();
    const QSize less = (size() - room).expandedTo(QSize(0, 0)).boundedTo(viewport * 4 / 5);
    if (less.isNull())
        return;
    setFixedSize(size() - less);
    previewFrame->resize(previewFrame->size() - less);
    DocumentContainer->resize(viewport - less);
    cmdClose->move(cmdClose->pos() - QPoint(less.width(), 0));
    for (QFrame* rule : {ruleAboveButtons, ruleBelowButtons})
        rule->resize(rule->width() - less.width(), rule->height());
    SizeScrolls(DocumentContainer, Document);
}

QPoint ReportViewer::placement(const QRect& screen, const QSize& frame) const
{
    return QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                  screen.y() + (screen.height() - frame.height()) / 4);
}

void ReportViewer::cmdClose_Click()
{
    const Report* report = reportOf(state().ReportType);
    const Screen target = report ? report->of : Screen::Main;
    // With no register to return to, the main window opens rather than no
    // window at all (which would leave the program running out of reach).
    state().ReportType.reset();
    m_screens.go(target);
}
