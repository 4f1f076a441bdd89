#include "reports/FrmReportViewer.h"

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
#include "shell/Navigator.h"

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

FrmReportViewer::FrmReportViewer(SharedState& state, Navigator& navigator)
    : FormWindow(state, QStringLiteral("VIEW"), 10335, 8415, colours::LightCyan), m_navigator(navigator)
{
    setObjectName(QStringLiteral("frmReportViewer"));
    cmdPrint = button(this, "cmdPrint", QStringLiteral("Print"), twips::rect(240, 120, 1095, 375));
    cmdClose = button(this, "cmdClose", QStringLiteral("Close"), twips::rect(9000, 120, 1095, 375));
    Line2 = rule(this, "Line2", 0);
    Line1 = rule(this, "Line1", 600);
    Frame1 = place(new QGroupBox(QStringLiteral("Preview:"), this), "Frame1", twips::rect(120, 720, 10095, 7575));
    controls::setBackground(Frame1, colours::LightCyan);
    DocumentContainer = place(new QWidget(Frame1), "DocumentContainer", twips::rect(120, 240, 9615, 6975));
    controls::setBackground(DocumentContainer, colours::LightYellow);
    Document = place(new ReportPage(DocumentContainer), "Document", QRect(0, 0, 0, 0));
    Image1 = place(new PictureControl(Document), "Image1", twips::rect(5280, 960, 1335, 1455));
    Image1->setAccessibleName(QStringLiteral("Picture of your doggie"));
    HScroll1 = place(new QScrollBar(Qt::Horizontal, Frame1), "HScroll1", QRect());
    VScroll1 = place(new QScrollBar(Qt::Vertical, Frame1), "VScroll1", QRect());
    setTabOrder(cmdPrint, cmdClose);
    for (QPushButton* b : {cmdPrint, cmdClose}) {
        const QKeySequence key(Qt::ALT | (b == cmdPrint ? Qt::Key_P : Qt::Key_C));
        b->setToolTip(controls::withKey(b->text(), key));
        controls::addKey(b, key, [b] { b->click(); });
    }

    connect(cmdPrint, &QPushButton::clicked, this, &FrmReportViewer::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &FrmReportViewer::cmdClose_Click);
    // Dragging a thumb moves the page as it goes.
    connect(HScroll1, &QScrollBar::valueChanged, this, &FrmReportViewer::movePage);
    connect(VScroll1, &QScrollBar::valueChanged, this, &FrmReportViewer::movePage);
    connect(Document, &ReportPage::wheeled, this, [this](QWheelEvent* e) { QCoreApplication::sendEvent(VScroll1, e); });
}

void FrmReportViewer::Form_Load()
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

void FrmReportViewer::SizeScrolls(QWidget* container, QWidget* page)
{
    const QRect c = container->geometry();
    const int cWidth = twips::fromPx(c.width());
    const int cHeight = twips::fromPx(c.height());
    const int pageWidth = twips::fromPx(page->width());
    const int pageHeight = twips::fromPx(page->height());
    const int barWidth = HScroll1->sizeHint().height();

    HScroll1->setGeometry(c.x(), c.y() + c.height(), c.width(), barWidth);
    HScroll1->setRange(-10, pageWidth + 300 - cWidth);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(cWidth);
    HScroll1->setValue(HScroll1->minimum());

    VScroll1->setGeometry(c.x() + c.width() - barWidth, c.y(), barWidth, c.height());
    VScroll1->setRange(-10, pageHeight + 50 - cHeight);
    VScroll1->setSingleStep(500);
    VScroll1->setPageStep(cHeight);
    VScroll1->setValue(VScroll1->minimum());
    VScroll1->raise();
    movePage();
}

void FrmReportViewer::movePage()
{
    Document->move(qRound(-HScroll1->value() / qreal(twips::PerPixel)),
                   qRound(-VScroll1->value() / qreal(twips::PerPixel)));
}

bool FrmReportViewer::renderOn(QPainter& painter, qreal unitsPerTwip, qreal pageHeight,
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

void FrmReportViewer::RenderReport()
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

void FrmReportViewer::showDoggiePicture()
{
    const QString picture = fixedtext::trimSpaces(fixedtext::upToNul(state().DoggieRecord.Picture));
    if (picture.isEmpty() || Image1->load(picture))
        return;
    // The report stays shown; only the picture is missing.
    prompts().message(this, kErrorTitle,
                      QStringLiteral("There was an error producing your print preview.\n\n"
                                     "The dog's picture \"%1\" is missing or is not a picture; "
                                     "the report is shown without it.")
                          .arg(picture),
                      Prompts::Icon::Critical);
}

void FrmReportViewer::printingFailed()
{
    prompts().message(this, kErrorTitle, QStringLiteral("There was an error printing to your printer."),
                      Prompts::Icon::Critical);
}

void FrmReportViewer::cmdPrint_Click()
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

QPoint FrmReportViewer::placement(const QRect& screen, const QSize& frame) const
{
    return QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                  screen.y() + (screen.height() - frame.height()) / 4);
}

void FrmReportViewer::cmdClose_Click()
{
    const QString type = state().ReportType;
    const Screen target = type == QLatin1String("Doggies")   ? Screen::Doggies
                          : type == QLatin1String("Health")  ? Screen::Health
                          : type == QLatin1String("Journal") ? Screen::Journal
                                                             : Screen::Main;
    // With no register to return to, the main window opens rather than no
    // window at all (which would leave the program running out of reach).
    state().ReportType.clear();
    m_navigator.go(target);
}
