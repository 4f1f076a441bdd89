#pragma once

#include <QColor>
#include <QIcon>
#include <QWidget>

#include <functional>

struct SharedState;
class PictureControl;

// The program's icon, the one the desktop menu shows.
QIcon programIcon();

// Loads a picture of the program folder into a control. A missing or
// unreadable one leaves the control empty; the window works on without it.
void loadUiPicture(const SharedState& state, PictureControl* control, const QString& fileName);

// A request to close `window` from outside the program (the title bar, Alt+F4,
// the session at logout, close()) does what `closeControl`, the window's own
// close control, does; the window closes only if that control closes it.
void routeClose(QWidget* window, std::function<void()> closeControl);

// The room a window's frame adds to its client area; before a window manager
// has framed it, room for a title bar.
QSize frameExtra(const QWidget* window);
// Where a frame of `frame` size stands centred on `area`.
QPoint centred(const QRect& area, const QSize& frame);
// Moves a top-level window so that its frame's top-left corner is at `at`,
// moved in as far as it must for the whole frame to lie on `area`.
void placeWhole(QWidget* window, const QRect& area, const QPoint& at);

// A top-level window of the program: fixed client size given in twips, a
// title bar without buttons, a plain background colour, centred on the
// screen when shown. A close from the desktop (Alt+F4 and the like) goes
// through closeRequested(), the window's own close control; the program
// closes it through unload().
class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow(SharedState& state, const QString& caption, int widthTwips, int heightTwips, const QColor& background,
               QWidget* parent = nullptr);

    // Runs each time the window is loaded, before it is first shown.
    virtual void load() {}

    // Closes the window for good (it deletes itself later).
    void unload();

    SharedState& state() const { return m_state; }

    // Runs a step that reads or writes files; a file that cannot be used is
    // reported in a message box and the window goes on. False on failure.
    bool guard(const std::function<void()>& step);

    // Puts the window on `area` (a screen's room for windows) whole: where
    // placement() says, moved in as far as it must, after fitInto() made a
    // window too large for the area smaller where it can be.
    void placeOn(const QRect& area);

protected:
    // What the window's own close control does (Quit, a close bone, Close).
    virtual void closeRequested() = 0;

    // Where the window goes on the screen, in the frame's top-left corner.
    virtual QPoint placement(const QRect& screen, const QSize& frame) const;
    // Makes the window no larger than `room` where it can; by default it cannot.
    virtual void fitInto(const QSize& room) { Q_UNUSED(room); }

    // Loads a picture of the program folder. A missing or unreadable one
    // leaves the control empty; the window works on without it.
    void loadPicture(PictureControl* control, const QString& fileName);

    void showEvent(QShowEvent* event) override;

private:
    SharedState& m_state;
    bool m_placed = false;
};
