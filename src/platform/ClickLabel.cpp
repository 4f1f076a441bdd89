#include "platform/ClickLabel.h"

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    m_clicks.press(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_clicks.release(event, rect()))
        emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_clicks.doubleClick(event);
}
