#pragma once

#include <QTableWidget>

// The health window's grid: a table with one fixed header row (row 0) above
// its data rows, read-only cells and whole-row selection. Rows are counted as
// the grid counts them, header included.
class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // A cell's text by grid row (0 the header row) and column.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    int rows() const { return rowCount() + 1; }
    void setRows(int rows);
    void setCols(int cols);
    static constexpr int fixedRows() { return 1; }
    void setColWidthTwips(int col, int widthTwips);
    // The row last clicked or moved to (0 when none).
    int currentGridRow() const;
    // Empties every cell, the header's included.
    void clearCells();
    // Sets all data rows at once, in grid rows 1, 2 and on.
    void setDataRows(const std::vector<QStringList>& rows);

signals:
    void clicked();
};
