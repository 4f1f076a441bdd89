#include "health/GridSort.h"

#include "health/FlexGrid.h"

#include <utility>
#include <vector>

namespace {

// -1, 0 or +1: the sign of b - a, so that the keys fall. They compare by
// character code, trailing spaces included.
int compareKeys(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseSensitive);
    return c > 0 ? -1 : (c < 0 ? 1 : 0);
}

// Copies the cells of one row into a buffer of one slot per column, and back.
void getGridRow(const FlexGrid& grid, int row, QStringList& buffer)
{
    const int cols = grid.columnCount();
    buffer.resize(cols);
    for (int c = 0; c < cols; ++c)
        buffer[c] = grid.text(row, c);
}

void putGridRow(FlexGrid& grid, int row, const QStringList& buffer)
{
    for (int c = 0; c < grid.columnCount(); ++c)
        grid.setText(row, c, buffer[c]);
}

// One partition of rows[min..max]; returns where the pivot row came to stand.
int partition(std::vector<QStringList>& rows, int column, int min, int max)
{
    const QStringList pivot = rows[min]; // row min is now the hole
    const QString& key = pivot[column];
    auto cmp = [&](int r) { return compareKeys(rows[r][column], key); };
    int lo = min;
    int hi = max;
    for (;;) {
        while (hi > lo && cmp(hi) >= 0)
            --hi;
        if (hi == lo) {
            rows[lo] = pivot;
            return lo;
        }
        rows[lo] = rows[hi]; // row hi is now the hole
        ++lo;
        while (lo < hi && cmp(lo) < 0)
            ++lo;
        if (lo == hi) {
            rows[hi] = pivot;
            return hi;
        }
        rows[hi] = rows[lo]; // row lo is now the hole
    }
}

} // namespace

void QSort(FlexGrid& grid, int column, int first, int last)
{
    if (first >= last)
        return;
    std::vector<QStringList> rows(std::size_t(last - first + 1));
    for (int r = first; r <= last; ++r)
        getGridRow(grid, r, rows[std::size_t(r - first)]);

    // Ranges still to sort, in memory indices; the left part is taken first.
    std::vector<std::pair<int, int>> pending{{0, last - first}};
    while (!pending.empty()) {
        const auto [lo, hi] = pending.back();
        pending.pop_back();
        if (lo >= hi)
            continue;
        const int at = partition(rows, column, lo, hi);
        pending.emplace_back(at + 1, hi);
        pending.emplace_back(lo, at - 1);
    }

    for (int r = first; r <= last; ++r)
        putGridRow(grid, r, rows[std::size_t(r - first)]);
}
