#include "platform/EnterAsTab.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

EnterAsTab::EnterAsTab(QWidget* window) : QObject(window), m_window(window)
{
    // The application sees every key before the focused control does.
    qApp->installEventFilter(this);
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    // Another window's boxes, a file chooser's among them, keep their Enter.
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || box->window() != m_window)
        return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &tab);
    return true;
}
