#include "quorl/labeller.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/failure.h"

namespace quorl {

// The frontier at column j is curRow 1..j-1 followed by prevRow j..m: one cell per column, and
// exactly the cells a merge at column j may have to rewrite (plus column j itself). Through the
// frontier cells of each label runs a circular doubly linked list, kept by column in
// nextInList/prevInList. Labelling column j moves the frontier from prevRow j to curRow j:
//   - an unset cell leaves its upper neighbour's list;
//   - a cell taking its upper neighbour's label stays in that list;
//   - a cell taking its left neighbour's label joins that list next to it;
//   - a new label starts a list of its own;
//   - a merge rewrites the members of the smaller region's list and splices the two circles.
// At the end of a row the frontier is curRow, which becomes the next row's prevRow: the lists carry
// over without a rebuild. Entries of nextInList/prevInList are read only for columns in a list, so
// they are never cleared.

namespace {

std::int32_t rowA[MaxColumns + 1];
std::int32_t rowB[MaxColumns + 1];
std::int32_t nextInList[MaxColumns + 1];
std::int32_t prevInList[MaxColumns + 1];
std::int64_t regionSize[MaxLabels + 1];  // entry 0 is never used

std::int32_t* curRow = rowA;
std::int32_t* prevRow = rowB;
std::int32_t columns = 0;  // m
std::int32_t nextLabel = 1;
std::int32_t mergeCount = 0;
bool labelsExhausted = false;
// What a run may have written, for the next InitLabeller to clear: the tables start out zero, and
// a small grid must not pay for clearing all of them.
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

void LeaveList(std::int32_t column) {
  const std::int32_t before = prevInList[column];
  const std::int32_t after = nextInList[column];
  nextInList[before] = after;
  prevInList[after] = before;
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

// The next label, or 0 (after recording the failure) when MaxLabels are already in use.
std::int32_t NewLabel() {
  if (nextLabel > MaxLabels) {
    runtime::RecordFailure(ValueOutOfRange);
    labelsExhausted = true;
    return 0;
  }
  return nextLabel++;
}

// The regions of left (at column j-1 of curRow) and up (at column j of prevRow) meet at column j.
// The larger one's label survives, the left one on a tie; the other is rewritten at every frontier
// cell holding it (curRow before column j, prevRow from column j on) and retired.
std::int32_t MergeLabels(std::int32_t j, std::int32_t left, std::int32_t up) {
  const bool upSurvives = regionSize[up] > regionSize[left];
  const std::int32_t survivor = upSurvives ? up : left;
  const std::int32_t loser = upSurvives ? left : up;
  const std::int32_t first = upSurvives ? j - 1 : j;
  std::int32_t column = first;
  do {
    (column < j ? curRow : prevRow)[column] = survivor;
    column = nextInList[column];
  } while (column != first);
  SpliceLists(j - 1, j);
  regionSize[survivor] += regionSize[loser];
  regionSize[loser] = Retired;
  ++mergeCount;
  return survivor;
}

// The label that the pending cell at column j takes, with the frontier lists brought up to date.
//   prevRow:    .   up   .
//   curRow:   left  x
std::int32_t ChooseLabel(std::int32_t j, std::int32_t left, std::int32_t up) {
  if (left == 0) {
    if (up != 0) return up;
    const std::int32_t label = NewLabel();
    if (label != 0) StartList(j);
    return label;
  }
  if (up == 0) {
    JoinListAfter(j - 1, j);
    return left;
  }
  if (up == left) return left;
  if (regionSize[up] != Retired) return MergeLabels(j, left, up);
  // A retired label is rewritten everywhere it can still be read, so this is never reached; if it
  // were, merging it again would add -1 to a live size and count one merge too many.
  LeaveList(j);
  JoinListAfter(j - 1, j);
  return left;
}

}  // namespace

void InitLabeller(std::int32_t m) {
  const std::int32_t labelsTouched = std::min(nextLabel - 1, MaxLabels);
  std::fill(regionSize + 1, regionSize + 1 + labelsTouched, 0);
  if (columnsTouched >= 0) {
    std::fill(rowA, rowA + columnsTouched + 1, 0);
    std::fill(rowB, rowB + columnsTouched + 1, 0);
  }
  curRow = rowA;
  prevRow = rowB;
  columns = m;
  columnsTouched = m;
  nextLabel = 1;
  mergeCount = 0;
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
    const std::int32_t label = ChooseLabel(j, curRow[j - 1], 0);
    if (label == 0) return;
    curRow[j] = label;
    ++regionSize[label];
  }
}

void LabelLaterRow() {
  if (labelsExhausted) return;
  for (std::int32_t j = 1; j <= columns; ++j) {
    const std::int32_t up = prevRow[j];
    if (curRow[j] != Pending) {
      if (up != 0) LeaveList(j);
      continue;
    }
    const std::int32_t label = ChooseLabel(j, curRow[j - 1], up);
    if (label == 0) return;
    curRow[j] = label;
    ++regionSize[label];
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
std::int32_t NextLabel() { return nextLabel; }
std::int32_t MergeCount() { return mergeCount; }

}  // namespace quorl
