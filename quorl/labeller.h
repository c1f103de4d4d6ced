// The two-row streaming region labeller.
//
// Counts the regions of set cells (joined through left, right, upper and lower neighbours, never
// diagonally) of a grid that arrives one row at a time, and the cells of each region, while holding
// only two rows: `curRow`, the row being labelled, and `prevRow`, the labels of the row above.
// Every set cell gets a positive label: its left or upper neighbour's, or the next new one
// (1, 2, 3, ... never reused). Where a cell finds two different labels on its left and above, the
// two regions meet and the labels merge: the label of the larger region so far survives (the left
// one on a tie), the other is rewritten wherever it can still be read and retired.
//
// Keeping the larger region's label bounds the rewriting: a cell is rewritten only when its region
// at least doubles, so a cell is rewritten at most log2(cells) times over the whole run. The cells
// to rewrite are found through a circular list per region threaded through the frontier (see
// labeller.cpp), at a cost proportional to the cells rewritten, never to the width. Sizes are kept
// only for regions that can still grow, at most m of them, so memory depends on m alone.
//
// Calling order: InitLabeller once; per row LoadRow, then LabelFirstRow for row 1 or LabelLaterRow
// for every later row; RegionCount and LargestRegion at the end (they change nothing).
//     rows 1001, 1001, 1111 -> RegionCount 1, LargestRegion 8 (labels created 2, merges 1)
//     rows 1010, 0101       -> RegionCount 4, LargestRegion 1
#pragma once

#include <cstdint>
#include <string_view>

#include "quorl/limits.h"

namespace quorl {

// Cell markers in curRow between LoadRow and the labelling pass.
inline constexpr std::int32_t Unset = 0;
inline constexpr std::int32_t Pending = -1;

// Starts a run over m columns. m is at most MaxColumns; m of 0 or less labels nothing.
void InitLabeller(std::int32_t m);
// Turns rowText into markers in curRow (character j is column j; 1 is set, any other byte or a
// position past the end of the text is unset), after moving the finished row into prevRow unless
// this is row 1.
void LoadRow(bool firstRow, std::string_view rowText);
void LabelFirstRow();
void LabelLaterRow();
// Labels created and not merged away.
std::int64_t RegionCount();
// The cells of the largest region, 0 when no label was created.
std::int64_t LargestRegion();

// Creating label MaxLabels + 1 records ValueOutOfRange; the labeller then ignores the rest of the
// run, which ends at the next check.

// The state, for tests that follow a labelling row by row: the label and the region size of a cell
// of curRow (after its labelling pass).
std::int32_t LabelAt(std::int32_t column);
std::int64_t RegionSizeAt(std::int32_t column);
std::int32_t NextLabel();
std::int32_t MergeCount();

}  // namespace quorl
