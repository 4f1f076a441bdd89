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

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* b = place(new QPushButton(text, parent), name, geometry);
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
    line->setFrameShadow(QFrame::Plain);
    return line;
}

const QString kErrorTitle = QStringLiteral("Error!");

} // namespace

ReportPage::ReportPage(QWidget* parent) : QWidget(parent)
{
    controls::setBackground(this, colours::LightYellow);
}

void ReportPage::setPage(const QPixmap& page)
{
    m_page = page;
    update();
}

void ReportPage::paintEvent(QPaintEvent*)
{
    if (m_page.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_page);
}

void ReportPage::wheelEvent(QWheelEvent* event)
{
    emit wheeled(event);
}

ReportViewer::ReportViewer(SharedState& state, ScreenRequests& screens)
    : FormWindow(state, QStringLiteral("VIEW"), 10335, 8415, colours::LightCyan), m_screens(screens)
{
    setObjectName(QStringLiteral("ReportViewer"));
    cmdPrint = button(this, "cmdPrint", QStringLiteral("Print"), twips::rect(240, 120, 1095, 375));
    cmdClose = button(this, "cmdClose", QStringLiteral("Close"), twips::rect(9000, 120, 1095, 375));
    ruleAboveButtons = rule(this, "ruleAboveButtons", 0);
    ruleBelowButtons = rule(this, "ruleBelowButtons", 600);
    previewFrame =
        place(new QGroupBox(QStringLiteral("Preview:"), this), "previewFrame", twips::rect(120, 720, 10095, 7575));
    controls::setBackground(previewFrame, colours::LightCyan);
    DocumentContainer = place(new QWidget(previewFrame), "DocumentContainer", twips::rect(120, 240, 9615, 6975));
    controls::setBackground(DocumentContainer, colours::LightYellow);
    Document = place(new ReportPage(DocumentContainer), "Document", QRect(0, 0, 0, 0));
    dogPicture = place(new PictureControl(Document), "dogPicture", twips::rect(5280, 960, 1335, 1455));
    dogPicture->setAccessibleName(QStringLiteral("Picture of your doggie"));
    horizontalScroll = place(new QScrollBar(Qt::Horizontal, previewFrame), "horizontalScroll", QRect());
    verticalScroll = place(new QScrollBar(Qt::Vertical, previewFrame), "verticalScroll", QRect());
    setTabOrder(cmdPrint, cmdClose);
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
    Document->resize(twips::size(reportpage::WidthTwips, reportpage::HeightTwips));
    SizeScrolls(DocumentContainer, Document);
    const QString type = state().ReportType;
    // A report of years of journal takes a moment: the pointer says so.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    guard([&] {
        if (type == QLatin1String("Doggies"))
            BuildDoggieReport(state());
        else if (type == QLatin1String("Health"))
            BuildHealthReport(state());
        else if (type == QLatin1String("Journal"))
            BuildJournalReport(state());
        else
            return;
        // The page shows what Print prints, found entries or not.
        RenderReport();
    });
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

bool ReportViewer::renderOn(QPainter& painter, qreal unitsPerTwip, qreal pageHeight,
                            const std::function<void()>& newPage)
{
    try {
        reportpage::LineReader lines(state().path(files::Report));
        reportpage::drawLines(painter, lines, unitsPerTwip, pageHeight, newPage);
        return true;
    } catch (const FileError& error) {
        prompts().message(this, kErrorTitle, QStringLiteral("There was an error producing your print preview."),
                          Prompts::Icon::Critical);
        prompts().message(this, QString(), error.message(), Prompts::Icon::None);
        return false;
    }
}

void ReportViewer::RenderReport()
{
    const qreal ratio = devicePixelRatioF();
    QPixmap page(Document->size() * ratio);
    page.setDevicePixelRatio(ratio);
    page.fill(colours::LightYellow);
    bool drawn = false;
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::TextAntialiasing);
        drawn = renderOn(painter, 1.0 / twips::PerPixel, Document->height(), {});
    }
    Document->setPage(page);
    if (drawn)
        showDoggiePicture();
}

void ReportViewer::showDoggiePicture()
{
    const QString picture = fixedtext::shown(state().DoggieRecord.Picture);
    if (picture.isEmpty() || dogPicture->load(picture))
        return;
    // The report stays shown; only the picture is missing.
    prompts().message(this, kErrorTitle,
                      QStringLiteral("There was an error producing your print preview.\n\n"
                                     "The dog's picture \"%1\" is missing or is not a picture; "
                                     "the report is shown without it.")
                          .arg(picture),
                      Prompts::Icon::Critical);
}

void ReportViewer::printingFailed()
{
    prompts().message(this, kErrorTitle, QStringLiteral("There was an error printing to your printer."),
                      Prompts::Icon::Critical);
}

void ReportViewer::cmdPrint_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });

    QPrinter printer(QPrinter::HighResolution);
    if (!m_printFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_printFile);
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            printingFailed(); // no printer to print on
            return;
        }
        printer.setPrinterName(info.printerName());
    }
    printer.setDocName(QStringLiteral("Pawfolio report"));
    const bool laidOut = printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                                           QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    QPainter painter;
    if (!laidOut || !printer.isValid() || !painter.begin(&printer)) {
        printingFailed();
        return;
    }
    const qreal unitsPerTwip = printer.resolution() / 1440.0;
    const qreal pageHeight = printer.pageRect(QPrinter::DevicePixel).height();
    bool pagesOk = true;
    renderOn(painter, unitsPerTwip, pageHeight, [&] { pagesOk = printer.newPage() && pagesOk; });
    if (!painter.end() || !pagesOk)
        printingFailed();
}

QPoint ReportViewer::placement(const QRect& screen, const QSize& frame) const
{
    return QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                  screen.y() + (screen.height() - frame.height()) / 4);
}

void ReportViewer::cmdClose_Click()
{
    const QString type = state().ReportType;
    const Screen target = type == QLatin1String("Doggies")   ? Screen::Doggies
                          : type == QLatin1String("Health")  ? Screen::Health
                          : type == QLatin1String("Journal") ? Screen::Journal
                                                             : Screen::Main;
    // With no register to return to, the main window opens rather than no
    // window at all (which would leave the program running out of reach).
    state().ReportType.clear();
    m_screens.go(target);
}
