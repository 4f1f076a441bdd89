#pragma once

#include "frame/ScreenRequests.h"
#include "platform/FormWindow.h"
#include "records/FileError.h"
#include "reports/ReportRenderer.h"

#include <QPushButton>

#include <optional>

class PictureControl;
class QFrame;
class QGroupBox;
class QScrollBar;

// The pages of the preview, US Letter each, one below the other with a gap,
// which the scroll bars move. A page is drawn when it comes into view.
class ReportPage : public QWidget {
    Q_OBJECT
public:
    explicit ReportPage(QWidget* parent);
    static constexpr int GapTwips = 240;
    // The widget takes the height of the pages and their gaps.
    void setPages(const QList<reportpage::Page>& pages);
    const QList<reportpage::Page>& pages() const { return m_pages; }
    QRect pageRect(qsizetype index) const;

signals:
    void wheeled(QWheelEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QList<reportpage::Page> m_pages;
};

// A push button that a double-click presses once.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The print preview: builds the report that ReportType names into report.txt,
// shows it on a page inside the "Preview:" viewport, prints it and returns to
// the register it came from.
class ReportViewer : public FormWindow {
    Q_OBJECT
public:
    ReportViewer(SharedState& state, ScreenRequests& screens);

    void load() override;

    // Prints into this PDF file instead of on the default printer.
    void setPrintFile(const QString& pdfPath) { m_printFile = pdfPath; }

private:
    void SizeScrolls(QWidget* container, QWidget* page);
    // Lays report.txt out on the pages of the preview and shows the dog's
    // picture on the first. Print prints these pages.
    void RenderReport();

    void cmdPrint_Click();
    void cmdClose_Click();

    CommandButton* cmdPrint;
    CommandButton* cmdClose;
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
    // The viewport shrinks, its scroll bars covering the rest.
    void fitInto(const QSize& room) override;
    void closeRequested() override { cmdClose_Click(); }

private:
    void movePage();
    bool showDoggiePicture();
    void printingFailed(const QString& reason);
    bool printedWhole() const;
    // What the print job is called: the register and the dog.
    QString jobName() const;

    ScreenRequests& m_screens;
    QString m_printFile;
    bool m_built = false;               // the report was written and laid out
    std::optional<FileError> m_failure; // why it was not
};
