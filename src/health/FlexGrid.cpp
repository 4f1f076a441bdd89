#include "health/FlexGrid.h"

#include "platform/RowClicks.h"
#include "platform/Twips.h"

#include <QHeaderView>

namespace {

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(twips::px(240) + 2);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(new RowClicks(this), &RowClicks::clicked, this, &FlexGrid::clicked);
}

QString FlexGrid::text(int row, int col) const
{
    const QTableWidgetItem* it = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return it ? it->text() : QString();
}

void FlexGrid::setText(int row, int col, const QString& text)
{
    if (row == 0) {
        setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem* it = item(row - 1, col))
        it->setText(text);
    else
        setItem(row - 1, col, cell(text));
}

void FlexGrid::setRows(int rows)
{
    setRowCount(qMax(0, rows - fixedRows()));
}

void FlexGrid::setCols(int cols)
{
    setColumnCount(cols);
}

void FlexGrid::setColWidthTwips(int col, int widthTwips)
{
    setColumnWidth(col, twips::px(widthTwips));
}

int FlexGrid::currentGridRow() const
{
    return currentRow() < 0 ? 0 : currentRow() + 1;
}

void FlexGrid::clearCells()
{
    clearContents();
    for (int c = 0; c < columnCount(); ++c)
        setText(0, c, QString());
}

void FlexGrid::setDataRows(const std::vector<QStringList>& rows)
{
    setRows(int(rows.size()) + fixedRows());
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < columnCount(); ++c)
            setItem(r, c, cell(rows[std::size_t(r)].value(c)));
    }
}
