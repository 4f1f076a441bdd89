#pragma once

#include <QColor>
#include <QKeySequence>
#include <QRect>
#include <QString>

#include <functional>

class ClickLabel;
class QLabel;
class QWidget;

// Small helpers that lay out controls the way the window tables give them.
namespace controls {

// Names the control (its objectName is its name in the window) and puts it
// at its place.
template <typename W>
W* place(W* widget, const char* name, QRect geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

void setTextColour(QWidget* widget, const QColor& colour);
// An opaque background of the given colour.
void setBackground(QWidget* widget, const QColor& colour);

// A label with a thin border, centred text and a background colour.
QLabel* boxedLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, const QColor& background,
                   qreal points);

// A key of the control's window that runs `action`, as a click on the control
// would: only while the control is enabled and shown.
void addKey(QWidget* control, const QKeySequence& key, std::function<void()> action);

// A tooltip text followed by the key that does the same, in parentheses:
// "ADD DOGGIE (Alt+A)".
QString withKey(const QString& tip, const QKeySequence& key);

// A blue 12-point caption under a picture that acts like the picture.
ClickLabel* pictureCaption(QWidget* parent, const char* name, const QString& text, QRect geometry);

} // namespace controls
