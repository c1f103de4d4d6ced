#include "quorl/labeller.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/failure.h"

namespace quorl {

// The frontier at column j is curRow 1..j-1 followed by prevRow j..m: one cell per column, and
// exactly the cells a merge at column j may have to rewrite (plus column j itself). Through the
// frontier cells of each region runs a circular doubly linked list, kept by column in
// nextInList/prevInList. Labelling column j moves the frontier from prevRow j to curRow j:
//   - an unset cell leaves its upper neighbour's list;
//   - a cell taking its upper neighbour's label stays in that list;
//   - a cell taking its left neighbour's label joins that list next to it;
//   - a new label starts a list of its own;
//   - a merge rewrites the members of the smaller region's list and splices the two circles.
// At the end of a row the frontier is curRow, which becomes the next row's prevRow: the lists carry
// over without a rebuild. Entries of nextInList/prevInList are read only for columns in a list, so
// they are never cleared.
//
// The rows hold region slots rather than label numbers. A slot carries a live region's label and
// size while the region has a cell on the frontier; when its last frontier cell goes (the region is
// complete) or a merge retires its label, the slot is free for the next new label. Only regions
// on the frontier can ever grow or merge again, and there are at most m of them, so the memory for
// sizes is bounded by the width. A table indexed by label would instead take 8 bytes for every label
// ever created, and a run's resident memory would keep growing with its rows.

namespace {

using Slot = std::int32_t;

Slot rowA[MaxColumns + 1];
Slot rowB[MaxColumns + 1];
std::int32_t nextInList[MaxColumns + 1];
std::int32_t prevInList[MaxColumns + 1];
// Slots 1 to MaxColumns; entry 0 is never used.
std::int64_t slotSize[MaxColumns + 1];
std::int32_t slotLabel[MaxColumns + 1];  // 0 for a free slot
Slot freeSlots[MaxColumns + 1];
std::int32_t freeCount = 0;
Slot slotsUsed = 0;  // slots above this have never been handed out in this run

Slot* curRow = rowA;
Slot* prevRow = rowB;
std::int32_t columns = 0;  // m
std::int32_t nextLabel = 1;
std::int32_t mergeCount = 0;
std::int64_t largestComplete = 0;  // the largest region that has left the frontier
bool labelsExhausted = false;
// What a run may have written, for the next InitLabeller to clear: the rows start out zero, and a
// small grid must not pay for clearing all of them.
std::int32_t columnsTouched = -1;

void StartList(std::int32_t column) {
  nextInList[column] = column;
  prevInList[column] = column;
}

void JoinListAfter(std::int32_t member, std::int32_t column) {
  const std::int32_t after = nextInList[member];
  nextInList[column] = after;
  prevInList[column] = member;
  prevInList[after] = column;
  nextInList[member] = column;
}

// True when the column was the last of its list.
bool LeaveList(std::int32_t column) {
  const std::int32_t before = prevInList[column];
  const std::int32_t after = nextInList[column];
  nextInList[before] = after;
  prevInList[after] = before;
  return after == column;
}

// Joins the two distinct circles through a and b into one.
void SpliceLists(std::int32_t a, std::int32_t b) {
  const std::int32_t afterA = nextInList[a];
  const std::int32_t afterB = nextInList[b];
  nextInList[a] = afterB;
  prevInList[afterB] = a;
  nextInList[b] = afterA;
  prevInList[afterA] = b;
}

void FreeSlot(Slot slot) {
  slotLabel[slot] = 0;
  freeSlots[freeCount++] = slot;
}

// A slot for the next label, or 0 (after recording the failure) when MaxLabels are already in use.
Slot NewRegion() {
  if (nextLabel > MaxLabels) {
    runtime::RecordFailure(ValueOutOfRange);
    labelsExhausted = true;
    return 0;
  }
  const Slot slot = freeCount > 0 ? freeSlots[--freeCount] : ++slotsUsed;
  slotLabel[slot] = nextLabel++;
  slotSize[slot] = 0;
  return slot;
}

// The region has lost its last frontier cell: nothing can join it any more.
void CompleteRegion(Slot slot) {
  largestComplete = std::max(largestComplete, slotSize[slot]);
  FreeSlot(slot);
}

// The regions of left (at column j-1 of curRow) and up (at column j of prevRow) meet at column j.
// The larger one's label survives, the left one on a tie; the other is rewritten at every frontier
// cell holding it (curRow before column j, prevRow from column j on) and retired.
Slot MergeLabels(std::int32_t j, Slot left, Slot up) {
  const bool upSurvives = slotSize[up] > slotSize[left];
  const Slot survivor = upSurvives ? up : left;
  const Slot retired = upSurvives ? left : up;
  const std::int32_t first = upSurvives ? j - 1 : j;
  std::int32_t column = first;
  do {
    (column < j ? curRow : prevRow)[column] = survivor;
    column = nextInList[column];
  } while (column != first);
  SpliceLists(j - 1, j);
  slotSize[survivor] += slotSize[retired];
  FreeSlot(retired);
  ++mergeCount;
  return survivor;
}

// The region that the pending cell at column j joins, with the frontier lists brought up to date.
// The rows only ever hold live regions, so up is never a retired label.
//   prevRow:    .   up   .
//   curRow:   left  x
Slot ChooseRegion(std::int32_t j, Slot left, Slot up) {
  if (left == 0) {
    if (up != 0) return up;
    const Slot slot = NewRegion();
    if (slot != 0) StartList(j);
    return slot;
  }
  if (up == 0) {
    JoinListAfter(j - 1, j);
    return left;
  }
  if (up == left) return left;
  return MergeLabels(j, left, up);
}

}  // namespace

void InitLabeller(std::int32_t m) {
  if (columnsTouched >= 0) {
    std::fill(rowA, rowA + columnsTouched + 1, 0);
    std::fill(rowB, rowB + columnsTouched + 1, 0);
  }
  curRow = rowA;
  prevRow = rowB;
  columns = m;
  columnsTouched = m;
  freeCount = 0;
  slotsUsed = 0;
  nextLabel = 1;
  mergeCount = 0;
  largestComplete = 0;
  labelsExhausted = false;
}

void LoadRow(bool firstRow, std::string_view rowText) {
  if (columns < 0 || labelsExhausted) return;
  // For row 1 prevRow keeps the zeros that InitLabeller left; later the finished row becomes the
  // row above by swapping the two arrays rather than copying one into the other.
  if (!firstRow) std::swap(curRow, prevRow);
  curRow[0] = Unset;
  const std::int32_t given =
      static_cast<std::int32_t>(std::min<std::size_t>(rowText.size(), std::size_t(columns)));
  const char* text = rowText.data();
  for (std::int32_t j = 1; j <= given; ++j) curRow[j] = text[j - 1] == '1' ? Pending : Unset;
  // Cells past the end of a short row are unset.
  std::fill(curRow + given + 1, curRow + columns + 1, Unset);
}

void LabelFirstRow() {
  if (labelsExhausted) return;
  for (std::int32_t j = 1; j <= columns; ++j) {
    if (curRow[j] != Pending) continue;
    const Slot slot = ChooseRegion(j, curRow[j - 1], 0);
    if (slot == 0) return;
    curRow[j] = slot;
    ++slotSize[slot];
  }
}

void LabelLaterRow() {
  if (labelsExhausted) return;
  for (std::int32_t j = 1; j <= columns; ++j) {
    const Slot up = prevRow[j];
    if (curRow[j] != Pending) {
      if (up != 0 && LeaveList(j)) CompleteRegion(up);
      continue;
    }
    const Slot slot = ChooseRegion(j, curRow[j - 1], up);
    if (slot == 0) return;
    curRow[j] = slot;
    ++slotSize[slot];
  }
}

std::int64_t RegionCount() { return std::int64_t{nextLabel} - mergeCount - 1; }

std::int64_t LargestRegion() {
  std::int64_t largest = largestComplete;
  for (Slot slot = 1; slot <= slotsUsed; ++slot) {
    if (slotLabel[slot] != 0) largest = std::max(largest, slotSize[slot]);
  }
  return largest;
}

std::int32_t LabelAt(std::int32_t column) {
  const Slot slot = curRow[column];
  return slot > 0 ? slotLabel[slot] : slot;
}
std::int64_t RegionSizeAt(std::int32_t column) {
  const Slot slot = curRow[column];
  return slot > 0 ? slotSize[slot] : 0;
}
std::int32_t NextLabel() { return nextLabel; }
std::int32_t MergeCount() { return mergeCount; }

}  // namespace quorl
