#include "health/GridSort.h"

#include <utility>
#include <vector>

MemoryGrid::MemoryGrid(std::vector<QStringList> rows, int cols) : m_rows(std::move(rows)), m_cols(cols) {}

short CompareKeys(const QString& A, const QString& B, bool NumComp, bool Ascending)
{
    int result = 0;
    if (NumComp) {
        const double a = A.trimmed().toDouble();
        const double b = B.trimmed().toDouble();
        result = a > b ? 1 : (a < b ? -1 : 0);
    } else {
        const int c = A.compare(B, Qt::CaseSensitive);
        result = c > 0 ? 1 : (c < 0 ? -1 : 0);
    }
    return short(Ascending ? result : -result);
}

void GetGridRow(const Grid& Grid, int row, QStringList& buffer)
{
    const int cols = Grid.cols();
    buffer.resize(cols);
    for (int c = 0; c < cols; ++c)
        buffer[c] = Grid.text(row, c);
}

void PutGridRow(Grid& Grid, int row, const QStringList& buffer)
{
    for (int c = 0; c < Grid.cols(); ++c)
        Grid.setText(row, c, buffer[c]);
}

namespace {

// One partition of rows[min..max]; returns where the pivot row came to stand.
int partition(std::vector<QStringList>& rows, int column, int min, int max, bool ascending, bool numComp)
{
    const QStringList pivot = rows[min]; // row min is now the hole
    const QString& key = pivot[column];
    auto cmp = [&](int r) { return CompareKeys(rows[r][column], key, numComp, ascending); };
    int lo = min;
    int hi = max;
    for (;;) {
        while (hi > lo && cmp(hi) >= 0)
            --hi;
        if (hi <= lo) {
            rows[lo] = pivot;
            return lo;
        }
        rows[lo] = rows[hi]; // row hi is now the hole
        ++lo;
        while (lo < hi && cmp(lo) < 0)
            ++lo;
        if (lo >= hi) {
            rows[hi] = pivot;
            return hi;
        }
        rows[hi] = rows[lo]; // row lo is now the hole
    }
}

} // namespace

void QSort(Grid& Grid, int Column, int min, int max, bool Ascending, bool NumComp)
{
    if (min >= max)
        return;
    std::vector<QStringList> rows(std::size_t(max - min + 1));
    for (int r = min; r <= max; ++r)
        GetGridRow(Grid, r, rows[std::size_t(r - min)]);

    // Ranges still to sort, in memory indices; the left part is taken first.
    std::vector<std::pair<int, int>> pending{{0, max - min}};
    while (!pending.empty()) {
        const auto [lo, hi] = pending.back();
        pending.pop_back();
        if (lo >= hi)
            continue;
        const int at = partition(rows, Column, lo, hi, Ascending, NumComp);
        pending.emplace_back(at + 1, hi);
        pending.emplace_back(lo, at - 1);
    }

    for (int r = min; r <= max; ++r)
        PutGridRow(Grid, r, rows[std::size_t(r - min)]);
}
