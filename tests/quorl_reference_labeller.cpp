#include "tests/quorl_reference_labeller.h"

#include <algorithm>

#include "common/failure.h"
#include "quorl/labeller.h"
#include "quorl/limits.h"

namespace quorl_reference {

using quorl::MaxColumns;
using quorl::MaxLabels;
using quorl::Pending;
using quorl::Unset;

const quorl::Labeller ScanningLabeller{InitLabeller,  LoadRow,     LabelFirstRow,
                                       LabelLaterRow, RegionCount, LargestRegion};

namespace {

std::int32_t curRow[MaxColumns + 1];
std::int32_t prevRow[MaxColumns + 1];
std::int64_t regionSize[MaxLabels + 1];
std::int32_t m = 0;
std::int32_t nextLabel = 1;
std::int32_t mergeCount = 0;
bool labelsExhausted = false;

std::int32_t NewLabel() {
  if (nextLabel > MaxLabels) {
    runtime::RecordFailure(quorl::ValueOutOfRange);
    labelsExhausted = true;
    return 0;
  }
  return nextLabel++;
}

void MergeLabels(std::int32_t j, std::int32_t left, std::int32_t up) {
  for (std::int32_t k = 1; k <= j - 1; ++k) {
    if (curRow[k] == up) curRow[k] = left;
  }
  for (std::int32_t k = j + 1; k <= m; ++k) {
    if (prevRow[k] == up) prevRow[k] = left;
  }
  regionSize[left] += regionSize[up];
  regionSize[up] = Retired;
  ++mergeCount;
}

}  // namespace

// Clears only the labels handed out before rather than all MaxLabels entries: the tests start
// hundreds of runs, and the result is the same.
void InitLabeller(std::int32_t columns) {
  std::fill(regionSize + 1, regionSize + std::min(nextLabel, MaxLabels + 1), 0);
  if (columns >= 0) {
    std::fill(prevRow, prevRow + columns + 1, 0);
    std::fill(curRow, curRow + columns + 1, 0);
  }
  m = columns;
  nextLabel = 1;
  mergeCount = 0;
  labelsExhausted = false;
}

void LoadRow(bool firstRow, std::string_view rowText) {
  if (m < 0 || labelsExhausted) return;
  if (!firstRow) std::copy(curRow, curRow + m + 1, prevRow);
  curRow[0] = 0;
  for (std::int32_t j = 1; j <= m; ++j) {
    const bool set = std::size_t(j) <= rowText.size() && rowText[j - 1] == '1';
    curRow[j] = set ? Pending : Unset;
  }
}

void LabelFirstRow() {
  for (std::int32_t j = 1; j <= m && !labelsExhausted; ++j) {
    if (curRow[j] != Pending) continue;
    if (curRow[j - 1] != 0) {
      curRow[j] = curRow[j - 1];
    } else {
      curRow[j] = NewLabel();
      if (curRow[j] == 0) return;
    }
    ++regionSize[curRow[j]];
  }
}

void LabelLaterRow() {
  for (std::int32_t j = 1; j <= m && !labelsExhausted; ++j) {
    if (curRow[j] != Pending) continue;
    const std::int32_t left = curRow[j - 1];
    const std::int32_t up = prevRow[j];
    if (left == 0) {
      curRow[j] = up != 0 ? up : NewLabel();
      if (curRow[j] == 0) return;
      ++regionSize[curRow[j]];
      continue;
    }
    if (up != 0 && up != left && regionSize[up] != Retired) MergeLabels(j, left, up);
    curRow[j] = left;
    ++regionSize[left];
  }
}

std::int64_t RegionCount() { return std::int64_t{nextLabel} - mergeCount - 1; }

std::int64_t LargestRegion() {
  std::int64_t largest = 0;
  for (std::int32_t label = 1; label < nextLabel; ++label) {
    largest = std::max(largest, regionSize[label]);
  }
  return largest;
}

std::int32_t LabelAt(std::int32_t column) { return curRow[column]; }
std::int64_t RegionSize(std::int32_t label) { return regionSize[label]; }
std::int64_t RegionSizeAt(std::int32_t column) {
  return curRow[column] > 0 ? regionSize[curRow[column]] : 0;
}
std::int32_t NextLabel() { return nextLabel; }
std::int32_t MergeCount() { return mergeCount; }

}  // namespace quorl_reference
