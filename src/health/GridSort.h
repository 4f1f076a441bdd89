#pragma once

#include "health/Grid.h"

// Sorts rows min to max (both included) of the grid on the text of one column,
// moving whole rows: a quicksort with the first row of each range as its pivot,
// moving rows through a hole. Rows whose key equals the pivot's count as rows
// that belong after it, so rows with equal keys end in the order this very
// algorithm gives them, which the health grid relies on.
//
// The rows are read out of the grid once, sorted in memory with an explicit
// stack of ranges (left part before right part), and written back once: rows
// already in order cost time but no stack.
void QSort(Grid& Grid, int Column, int min, int max, bool Ascending, bool NumComp);

// -1, 0 or +1: the sign of A - B, or of B - A when not ascending. Text keys
// compare by character code, trailing spaces included.
short CompareKeys(const QString& A, const QString& B, bool NumComp, bool Ascending);

// Copies the cells of one row into a buffer of one slot per column, and back.
void GetGridRow(const Grid& Grid, int row, QStringList& buffer);
void PutGridRow(Grid& Grid, int row, const QStringList& buffer);
