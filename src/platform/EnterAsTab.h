#pragma once

#include <QObject>

class QWidget;

// Key preview of a window: Enter typed in one of its single-line text boxes
// moves the focus on, as Tab would, and types nothing. Enter anywhere else
// (a list, a grid, a multi-line box) passes on unchanged.
class EnterAsTab : public QObject {
    Q_OBJECT
public:
    explicit EnterAsTab(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};
