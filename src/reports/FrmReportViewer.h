#pragma once

#include "platform/FormWindow.h"

#include <QPixmap>

class Navigator;
class PictureControl;
class QFrame;
class QGroupBox;
class QPushButton;
class QScrollBar;

// The page of the preview: the report drawn once on a Letter-sized picture,
// which the scroll bars only move.
class ReportPage : public QWidget {
    Q_OBJECT
public:
    explicit ReportPage(QWidget* parent);
    void setPage(const QPixmap& page);
    const QPixmap& page() const { return m_page; }

signals:
    void wheeled(QWheelEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPixmap m_page;
};

// The print preview: builds the report that ReportType names into report.txt,
// shows it on a page inside the "Preview:" viewport, prints it and returns to
// the register it came from.
class FrmReportViewer : public FormWindow {
    Q_OBJECT
public:
    FrmReportViewer(SharedState& state, Navigator& navigator);

    void Form_Load() override;
    void SizeScrolls(QWidget* container, QWidget* page);
    // Draws report.txt on the page, once, and shows the dog's picture on it.
    // Printing draws the same lines through the same routine.
    void RenderReport();

    void cmdPrint_Click();
    void cmdClose_Click();

    // Prints into this PDF file instead of on the default printer.
    void setPrintFile(const QString& pdfPath) { m_printFile = pdfPath; }

    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    QFrame* Line1;
    QFrame* Line2;
    QGroupBox* Frame1;
    QWidget* DocumentContainer;
    ReportPage* Document;
    PictureControl* Image1;
    QScrollBar* HScroll1;
    QScrollBar* VScroll1;

protected:
    // Centred across, a quarter of the free height down.
    QPoint placement(const QRect& screen, const QSize& frame) const override;

private:
    void movePage();
    bool renderOn(QPainter& painter, qreal unitsPerTwip, qreal pageHeight, const std::function<void()>& newPage);
    void showDoggiePicture();
    void printingFailed();

    Navigator& m_navigator;
    QString m_printFile;
};
