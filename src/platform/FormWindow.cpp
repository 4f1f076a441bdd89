#include "platform/FormWindow.h"

#include "platform/PictureControl.h"
#include "platform/Prompts.h"
#include "platform/Twips.h"
#include "records/FileError.h"
#include "records/SharedState.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QScreen>

FormWindow::FormWindow(SharedState& state, const QString& caption, int widthTwips, int heightTwips,
                       const QColor& background, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_state(state)
{
    setWindowTitle(caption);
    setFixedSize(twips::size(widthTwips, heightTwips));
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setAutoFillBackground(true);
}

void FormWindow::unload()
{
    m_unloading = true;
    close();
    deleteLater();
}

QPoint FormWindow::placement(const QRect& screen, const QSize& frame) const
{
    return QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                  screen.y() + (screen.height() - frame.height()) / 2);
}

bool loadUiPicture(const SharedState& state, PictureControl* control, const QString& fileName)
{
    if (control->load(state.path(fileName)))
        return true;
    control->clear();
    qWarning("Pawfolio: the picture \"%s\" is missing or unreadable; the window goes on without it.",
             qPrintable(fileName));
    return false;
}

bool FormWindow::loadPicture(PictureControl* control, const QString& fileName)
{
    return loadUiPicture(m_state, control, fileName);
}

bool FormWindow::guard(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const FileError& error) {
        reportFileError(this, error);
        return false;
    }
}

void FormWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (const QScreen* s = screen()) {
        const QSize frame = frameGeometry().size().expandedTo(size());
        move(placement(s->geometry(), frame));
    }
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    if (m_unloading)
        event->accept();
    else
        event->ignore();
}
