#pragma once

#include <QMouseEvent>
#include <QRect>

// A left-button press and its release inside the widget make one click. The
// second press of a double-click is no press: a double-click is the one click
// it began with.
class ClickTracker {
public:
    void press(QMouseEvent* event)
    {
        m_pressed = event->button() == Qt::LeftButton;
        event->accept();
    }

    void doubleClick(QMouseEvent* event)
    {
        m_pressed = false;
        event->accept();
    }

    bool release(QMouseEvent* event, const QRect& inside)
    {
        const bool click =
            m_pressed && event->button() == Qt::LeftButton && inside.contains(event->position().toPoint());
        m_pressed = false;
        event->accept();
        return click;
    }

private:
    bool m_pressed = false;
};
