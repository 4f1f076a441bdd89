#include "platform/Controls.h"

#include "platform/ClickLabel.h"
#include "platform/Fonts.h"

#include <QShortcut>

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

void addKey(QWidget* control, const QKeySequence& key, std::function<void()> action)
{
    auto* shortcut = new QShortcut(key, control);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, control, [control, action = std::move(action)] {
        if (control->isEnabled() && control->isVisible())
            action();
    });
}

QString withKey(const QString& tip, const QKeySequence& key)
{
    if (key.isEmpty())
        return tip;
    const QString named = QLatin1Char('(') + key.toString(QKeySequence::PortableText) + QLatin1Char(')');
    return tip.isEmpty() ? named : tip + QLatin1Char(' ') + named;
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
