#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What the grid sort needs of a grid: its column count and its cells by row
// and column, both counted from 0.
class Grid {
public:
    virtual ~Grid() = default;
    virtual int cols() const = 0;
    virtual QString text(int row, int col) const = 0;
    virtual void setText(int row, int col, const QString& text) = 0;
};

// A grid held in memory: rows of texts.
class MemoryGrid : public Grid {
public:
    explicit MemoryGrid(std::vector<QStringList> rows = {}, int cols = 2);
    int cols() const override { return m_cols; }
    QString text(int row, int col) const override { return m_rows[row][col]; }
    void setText(int row, int col, const QString& text) override { m_rows[row][col] = text; }
    int rows() const { return int(m_rows.size()); }
    const std::vector<QStringList>& data() const { return m_rows; }

private:
    std::vector<QStringList> m_rows;
    int m_cols;
};
