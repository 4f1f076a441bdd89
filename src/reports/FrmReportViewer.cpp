#include "reports/FrmReportViewer.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "records/SharedState.h"
#include "shell/Navigator.h"

#include <QGroupBox>
#include <QPushButton>

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

} // namespace

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
    setTabOrder(cmdPrint, cmdClose);

    connect(cmdClose, &QPushButton::clicked, this, &FrmReportViewer::cmdClose_Click);
}

QPoint FrmReportViewer::placement(const QRect& screen, const QSize& frame) const
{
    return QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                  screen.y() + (screen.height() - frame.height()) / 4);
}

void FrmReportViewer::cmdClose_Click()
{
    const QString type = state().ReportType;
    const Screen target = type == QLatin1String("Doggies") ? Screen::Doggies
                          : type == QLatin1String("Health") ? Screen::Health
                          : type == QLatin1String("Journal") ? Screen::Journal
                                                             : Screen::Main;
    // With no register to return to, the main window opens rather than no
    // window at all (which would leave the program running out of reach).
    state().ReportType.clear();
    m_navigator.go(target);
}
