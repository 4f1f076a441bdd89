#include "platform/Controls.h"

#include "platform/ClickLabel.h"
#include "platform/Fonts.h"

namespace controls {

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

QLabel* boxedLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, const QColor& background,
                   qreal points)
{
    auto* label = place(new QLabel(text, parent), name, geometry);
    label->setFont(fonts::comic(points));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    label->setLineWidth(1);
    setBackground(label, background);
    setTextColour(label, Qt::black);
    return label;
}

ClickLabel* pictureCaption(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = place(new ClickLabel(text, parent), name, geometry);
    label->setFont(fonts::comic(12));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(label, colours::Blue);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace controls
