#pragma once

#include "frame/ScreenRequests.h"
#include "platform/FormWindow.h"

#include <QPixmap>

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
class ReportViewer : public FormWindow {
    Q_OBJECT
public:
    ReportViewer(SharedState& state, ScreenRequests& screens);

    void load() override;
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
    QFrame* ruleBelowButtons;
    QFrame* ruleAboveButtons;
    QGroupBox* previewFrame;
    QWidget* DocumentContainer;
    ReportPage* Document;
    PictureControl* dogPicture;
    QScrollBar* horizontalScroll;
    QScrollBar* verticalScroll;

protected:
    // Centred across, a quarter of the free height down.
    QPoint placement(const QRect& screen, const QSize& frame) const override;

private:
    void movePage();
    bool renderOn(QPainter& painter, qreal unitsPerTwip, qreal pageHeight, const std::function<void()>& newPage);
    void showDoggiePicture();
    void printingFailed();

    ScreenRequests& m_screens;
    QString m_printFile;
};
