#pragma once

#include <QObject>

class QAbstractItemView;

// One clicked() per user action on a list or grid: a click on a row, a click
// on the row already selected, or a move of the selection with the keyboard.
// Taking the focus alone, or the program refilling the view, clicks nothing.
class RowClicks : public QObject {
    Q_OBJECT
public:
    explicit RowClicks(QAbstractItemView* view);

signals:
    void clicked();

private:
    void onSelectionChanged();
    void onPressed();

    QAbstractItemView* m_view;
    bool m_justHandled = false;
};
