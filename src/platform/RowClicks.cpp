#include "platform/RowClicks.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTimer>

RowClicks::RowClicks(QAbstractItemView* view) : QObject(view), m_view(view)
{
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RowClicks::onSelectionChanged);
    connect(view, &QAbstractItemView::pressed, this, &RowClicks::onPressed);
}

void RowClicks::onSelectionChanged()
{
    if (!m_view->selectionModel()->hasSelection())
        return;
    // A press that moved the selection comes next, in the same event: it is
    // the same click.
    m_justHandled = true;
    QTimer::singleShot(0, this, [this] { m_justHandled = false; });
    emit clicked();
}

void RowClicks::onPressed()
{
    if (m_justHandled)
        return;
    emit clicked();
}
