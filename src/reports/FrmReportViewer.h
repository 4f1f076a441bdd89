#pragma once

#include "platform/FormWindow.h"

class Navigator;
class QFrame;
class QGroupBox;
class QPushButton;
class QWidget;

// The print preview: the report of the register it came from, shown on a
// page inside the "Preview:" viewport, with Print and Close.
class FrmReportViewer : public FormWindow {
    Q_OBJECT
public:
    FrmReportViewer(SharedState& state, Navigator& navigator);

    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    QFrame* Line1;
    QFrame* Line2;
    QGroupBox* Frame1;
    QWidget* DocumentContainer;

    void cmdClose_Click();

protected:
    // Centred across, a quarter of the free height down.
    QPoint placement(const QRect& screen, const QSize& frame) const override;

private:
    Navigator& m_navigator;
};
