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
    routeClose(this, [this] { closeRequested(); });
    setWindowTitle(caption);
    setWindowIcon(programIcon());
    setFixedSize(twips::size(widthTwips, heightTwips));
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setAutoFillBackground(true);
}

void FormWindow::unload()
{
    hide();
    deleteLater();
}

QPoint FormWindow::placement(const QRect& screen, const QSize& frame) const
{
    return centred(screen, frame);
}

QIcon programIcon()
{
    // Each size drawn for itself, read when a desktop first asks for it.
    QIcon icon;
    for (const int size : {16, 32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/pawfolio-%1.png").arg(size), QSize(size, size));
    return icon;
}

void loadUiPicture(const SharedState& state, PictureControl* control, const QString& fileName)
{
    if (control->load(state.picture(fileName)))
        return;
    control->clear();
    qWarning("Pawfolio: the picture \"%s\" is missing or unreadable; the window goes on without it.",
             qPrintable(fileName));
}

void FormWindow::loadPicture(PictureControl* control, const QString& fileName)
{
    loadUiPicture(m_state, control, fileName);
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
    if (m_placed) // restored from the task bar: it stays where its person put it
        return;
    m_placed = true;
    if (const QScreen* s = screen())
        placeOn(s->availableGeometry());
}

void FormWindow::placeOn(const QRect& area)
{
    const QSize extra = frameExtra(this);
    fitInto(area.size() - extra);
    placeWhole(this, area, placement(area, size() + extra));
}

QSize frameExtra(const QWidget* window)
{
    const QSize extra = window->frameGeometry().size() - window->geometry().size();
    return extra.isNull() ? QSize(0, 32) : extra;
}

QPoint centred(const QRect& area, const QSize& frame)
{
    return QPoint(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
}

void placeWhole(QWidget* window, const QRect& area, const QPoint& at)
{
    // Before a window manager has framed the window its title bar is not
    // known: room is kept for one, and the position given is then the one of
    // the window below its title bar.
    const bool framed = window->frameGeometry().size() != window->geometry().size();
    const QSize whole = window->size() + frameExtra(window);
    const QPoint corner(qBound(area.left(), at.x(), qMax(area.left(), area.right() + 1 - whole.width())),
                        qBound(area.top(), at.y(), qMax(area.top(), area.bottom() + 1 - whole.height())));
    window->move(framed ? corner : corner + QPoint(0, whole.height() - window->height()));
}

void routeClose(QWidget* window, std::function<void()> closeControl)
{
    // The close event itself is always refused: the control unloads the
    // window its own way, after asking what it asks.
    struct Router : QObject {
        Router(QObject* parent, std::function<void()> control) : QObject(parent), control(std::move(control)) {}
        std::function<void()> control;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() != QEvent::Close)
                return false;
            event->ignore();
            control();
            return true;
        }
    };
    window->installEventFilter(new Router(window, std::move(closeControl)));
}
