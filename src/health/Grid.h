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
