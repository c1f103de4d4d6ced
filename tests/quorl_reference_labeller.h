// The two-row labeller exactly as first designed, kept to check the streaming labeller against:
// a merge keeps the left label whatever the sizes, and finds the cells to rewrite by scanning the
// labelled part of curRow and the unlabelled part of prevRow, m - 1 columns per merge. Its cost is
// quadratic in the width on ordinary grids, which is why the program no longer uses it.
//
// It has the streaming labeller's operations and limits (labels beyond MaxLabels record
// ValueOutOfRange), so a whole run can be made with it for timing.
#pragma once

#include <cstdint>
#include <string_view>

#include "quorl/quorl_run.h"

namespace quorl_reference {

// The size of a label merged away; it keeps this value to the end of the run.
inline constexpr std::int64_t Retired = -1;

void InitLabeller(std::int32_t m);
void LoadRow(bool firstRow, std::string_view rowText);
void LabelFirstRow();
void LabelLaterRow();
std::int64_t RegionCount();
std::int64_t LargestRegion();

std::int32_t LabelAt(std::int32_t column);
std::int64_t RegionSize(std::int32_t label);
std::int64_t RegionSizeAt(std::int32_t column);
std::int32_t NextLabel();
std::int32_t MergeCount();

extern const quorl::Labeller ScanningLabeller;

}  // namespace quorl_reference
