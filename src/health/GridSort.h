#pragma once

class FlexGrid;

// Sorts rows first to last (both included) of the grid on the text of one
// column, falling by character code (a blank key last), moving whole rows: a quicksort with the first row of each range
// as its pivot, moving rows through a hole. Rows whose key equals the pivot's count as rows that belong after it, so
// rows with equal keys end in the order this very algorithm gives them, which the health grid relies on.
//
// The rows are read out of the grid once, sorted in memory with an explicit
// stack of ranges (left part before right part), and written back once: rows
// already in order cost time but no stack.
void QSort(FlexGrid& grid, int column, int first, int last);
