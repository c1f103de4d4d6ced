// The streaming labeller, and the scanning reference it replaced: literal grids with their region
// count and largest size, the state a merge leaves, both against a plain flood fill on random
// grids, and the two against each other after every row.
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "quorl/labeller.h"
#include "tests/quorl_reference_labeller.h"

namespace {

using Grid = std::vector<std::string>;

// A labeller's operations together with the state that the tests look into.
struct LabellerUnderTest {
  const char* name;
  const quorl::Labeller& operations;
  std::int32_t (*labelAt)(std::int32_t column);
  std::int64_t (*regionSizeAt)(std::int32_t column);
  std::int32_t (*nextLabel)();
  std::int32_t (*mergeCount)();
};

const LabellerUnderTest Streaming{"streaming", quorl::StreamingLabeller, quorl::LabelAt,
                                  quorl::RegionSizeAt, quorl::NextLabel, quorl::MergeCount};
const LabellerUnderTest Scanning{"scanning reference", quorl_reference::ScanningLabeller,
                                 quorl_reference::LabelAt, quorl_reference::RegionSizeAt,
                                 quorl_reference::NextLabel, quorl_reference::MergeCount};
const LabellerUnderTest* const BothLabellers[] = {&Streaming, &Scanning};

std::int32_t Width(const Grid& grid) {
  return grid.empty() ? 0 : static_cast<std::int32_t>(grid.front().size());
}

void LabelRow(const LabellerUnderTest& labeller, const Grid& grid, std::size_t row) {
  labeller.operations.loadRow(row == 0, grid[row]);
  if (row == 0) {
    labeller.operations.labelFirstRow();
  } else {
    labeller.operations.labelLaterRow();
  }
}

void LabelGrid(const LabellerUnderTest& labeller, const Grid& grid) {
  labeller.operations.initLabeller(Width(grid));
  for (std::size_t row = 0; row < grid.size(); ++row) LabelRow(labeller, grid, row);
}

struct Regions {
  std::int64_t count;
  std::int64_t largest;
  bool operator==(const Regions&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Regions& r) {
  return out << r.count << " regions, largest " << r.largest;
}

Regions RegionsOf(const LabellerUnderTest& labeller, const Grid& grid) {
  LabelGrid(labeller, grid);
  return {labeller.operations.regionCount(), labeller.operations.largestRegion()};
}

// The plain answer: a flood fill over the whole grid held in memory.
Regions FloodFill(Grid grid) {
  Regions result{0, 0};
  std::vector<std::pair<std::size_t, std::size_t>> stack;
  for (std::size_t r = 0; r < grid.size(); ++r) {
    for (std::size_t c = 0; c < grid[r].size(); ++c) {
      if (grid[r][c] != '1') continue;
      std::int64_t size = 0;
      grid[r][c] = 'x';
      stack.push_back({r, c});
      while (!stack.empty()) {
        const auto [y, x] = stack.back();
        stack.pop_back();
        ++size;
        const std::pair<std::size_t, std::size_t> neighbours[] = {
            {y - 1, x}, {y + 1, x}, {y, x - 1}, {y, x + 1}};
        for (const auto& [ny, nx] : neighbours) {
          if (ny < grid.size() && nx < grid[ny].size() && grid[ny][nx] == '1') {
            grid[ny][nx] = 'x';
            stack.push_back({ny, nx});
          }
        }
      }
      ++result.count;
      result.largest = std::max(result.largest, size);
    }
  }
  return result;
}

Grid RandomGrid(std::mt19937& random, int rows, int width, double density) {
  std::bernoulli_distribution set(density);
  Grid grid(static_cast<std::size_t>(rows), std::string(static_cast<std::size_t>(width), '0'));
  for (auto& row : grid) {
    for (auto& cell : row) cell = set(random) ? '1' : '0';
  }
  return grid;
}

struct GridCase {
  Grid grid;
  Regions expected;
  const char* shows;
};

const GridCase LiteralGrids[] = {
    {{"1001", "1001", "1111"}, {1, 8}, "two arms merge in the last row"},
    {{"1111", "1001", "1001"}, {1, 8}, "the same shape upside down: no merge"},
    {{"1101", "0101", "1111"}, {1, 9}, ""},
    {{"10001", "10001", "10001", "11111"}, {1, 11}, "joined only in a later row"},
    {{"1010101", "1111111"}, {1, 11}, "three merges in one row"},
    {{"11111", "10001", "10111"}, {1, 11}, "a new label on the left meets the old one above"},
    {{"10111", "11101"}, {1, 8}, "a label rewritten to the right of the merge in prevRow"},
    {{"1111111", "0000001", "1111101", "1000101", "1011101", "1000001", "1111111"}, {1, 31},
     "a spiral"},
    {{"1010", "0101", "1010", "0101"}, {8, 1}, "diagonal neighbours stay apart"},
    {{"11111", "10001", "10101", "10001", "11111"}, {2, 16}, "a ring and the cell inside it"},
    {{"1101110111"}, {3, 3}, "row 1 only looks left"},
    {{"1", "1", "0", "1", "1", "1"}, {2, 3}, "one column: no merge ever"},
    {{"000", "000"}, {0, 0}, "no set cell"},
    {{"1"}, {1, 1}, "a single cell"},
    {{"1#1x", "2111"}, {2, 4}, "only the digit 1 is set"},
    {{"01110", "11011", "10001", "11011", "01110"}, {1, 16}, "merges on both sides of a hole"},
    {{"101010101", "111111111", "100000001", "101010101"}, {4, 18}, "combs up and down"},
};

TEST(Labeller, CountsRegionsOfLiteralGrids) {
  for (const LabellerUnderTest* labeller : BothLabellers) {
    for (const GridCase& c : LiteralGrids) {
      EXPECT_EQ(RegionsOf(*labeller, c.grid), c.expected) << labeller->name << ": " << c.shows;
      EXPECT_EQ(FloodFill(c.grid), c.expected) << c.shows;
    }
  }
}

TEST(Labeller, CreatesLabelsAndMergesAsTheGridRequires) {
  // Labels are created the same way whichever label a merge keeps: 4 created, 3 merges.
  for (const LabellerUnderTest* labeller : BothLabellers) {
    LabelGrid(*labeller, {"1010101", "1111111"});
    EXPECT_EQ(labeller->nextLabel(), 5) << labeller->name;
    EXPECT_EQ(labeller->mergeCount(), 3) << labeller->name;
  }
}

TEST(Labeller, RowsShorterThanTheWidthHaveUnsetCells) {
  for (const LabellerUnderTest* labeller : BothLabellers) {
    labeller->operations.initLabeller(5);
    labeller->operations.loadRow(true, "11");
    labeller->operations.labelFirstRow();
    labeller->operations.loadRow(false, "");
    labeller->operations.labelLaterRow();
    labeller->operations.loadRow(false, "0001111111");
    labeller->operations.labelLaterRow();
    EXPECT_EQ(labeller->operations.regionCount(), 2) << labeller->name;
    EXPECT_EQ(labeller->operations.largestRegion(), 2) << labeller->name;
  }
}

TEST(Labeller, NoColumnsLabelNothing) {
  for (const LabellerUnderTest* labeller : BothLabellers) {
    for (const std::int32_t m : {0, -1, -2147483647 - 1}) {
      labeller->operations.initLabeller(m);
      labeller->operations.loadRow(true, "111");
      labeller->operations.labelFirstRow();
      labeller->operations.loadRow(false, "111");
      labeller->operations.labelLaterRow();
      EXPECT_EQ(labeller->operations.regionCount(), 0) << labeller->name << " m " << m;
      EXPECT_EQ(labeller->operations.largestRegion(), 0) << labeller->name << " m " << m;
    }
  }
}

// The state a single merge leaves: the label that survives on every cell of the last row, whose
// size is the sum of both sizes plus the merging cell (here the whole grid).
struct MergeCase {
  Grid grid;
  std::vector<std::int32_t> lastRow;  // columns 1 to m after the last row
};

void ExpectMergeState(const LabellerUnderTest& labeller, const MergeCase& c) {
  LabelGrid(labeller, c.grid);
  const std::string where = std::string(labeller.name) + " on " + c.grid.back();
  EXPECT_EQ(labeller.mergeCount(), 1) << where;
  for (std::size_t j = 1; j <= c.lastRow.size(); ++j) {
    const auto column = static_cast<std::int32_t>(j);
    EXPECT_EQ(labeller.labelAt(column), c.lastRow[j - 1]) << where << " column " << j;
    if (c.lastRow[j - 1] != 0) {
      EXPECT_EQ(labeller.regionSizeAt(column), FloodFill(c.grid).largest) << where;
    }
  }
}

TEST(Labeller, ReferenceMergeKeepsTheLeftLabel) {
  const MergeCase cases[] = {
      // The newer left label 2 survives; label 1 is rewritten in column 1 of the current row.
      {{"11111", "10001", "10111"}, {2, 0, 2, 2, 2}},
      {{"00111", "11111"}, {2, 2, 2, 2, 2}},
      // Label 2 is rewritten ahead of the merge in prevRow, so column 5 takes label 1 from above.
      {{"10111", "11101"}, {1, 1, 1, 0, 1}},
  };
  for (const MergeCase& c : cases) ExpectMergeState(Scanning, c);
  // The retired label keeps the size -1.
  EXPECT_EQ(quorl_reference::RegionSize(2), quorl_reference::Retired);
  EXPECT_EQ(quorl_reference::RegionSize(1), 8);
}

TEST(Labeller, MergeKeepsTheLargerRegionsLabel) {
  const MergeCase cases[] = {
      // Label 1 (8 cells) meets the new label 2 (2 cells) on its left: label 1 survives and
      // replaces label 2 in the current row.
      {{"11111", "10001", "10111"}, {1, 0, 1, 1, 1}},
      {{"00111", "11111"}, {1, 1, 1, 1, 1}},
      // Equal sizes (3 and 3): the left label survives and is written ahead into prevRow.
      {{"10111", "11101"}, {1, 1, 1, 0, 1}},
      {{"01", "11"}, {2, 2}},
      // The left region is larger: it survives however old the upper label is.
      {{"00001", "11111"}, {2, 2, 2, 2, 2}},
  };
  for (const MergeCase& c : cases) ExpectMergeState(Streaming, c);
}

TEST(Labeller, AgreesWithAFloodFillOnRandomGrids) {
  std::mt19937 random(20260101);
  const int widths[] = {1, 2, 3, 5, 8, 13, 40, 101};
  const double densities[] = {0.1, 0.3, 0.5, 0.6, 0.7, 0.9, 1.0};
  for (const int width : widths) {
    for (const double density : densities) {
      for (int trial = 0; trial < 4; ++trial) {
        const int rows = 1 + static_cast<int>(random() % 60);
        const Grid grid = RandomGrid(random, rows, width, density);
        const Regions expected = FloodFill(grid);
        for (const LabellerUnderTest* labeller : BothLabellers) {
          ASSERT_EQ(RegionsOf(*labeller, grid), expected)
              << labeller->name << ": " << rows << " x " << width << " at " << density;
        }
      }
    }
  }
}

// After one row of both labellers: the same cells set, one labelling turned into the other by a
// one-to-one map of live labels, mapped labels of equal size, the same counters.
::testing::AssertionResult SameStateAfterRow(std::int32_t width) {
  std::map<std::int32_t, std::int32_t> toReference;
  std::map<std::int32_t, std::int32_t> toStreaming;
  for (std::int32_t j = 1; j <= width; ++j) {
    const std::int32_t fast = Streaming.labelAt(j);
    const std::int32_t slow = Scanning.labelAt(j);
    if ((fast == 0) != (slow == 0)) {
      return ::testing::AssertionFailure() << "column " << j << " set in one labelling only";
    }
    if (fast == 0) continue;
    const auto [there, newFast] = toReference.emplace(fast, slow);
    const auto [back, newSlow] = toStreaming.emplace(slow, fast);
    if (there->second != slow || back->second != fast) {
      return ::testing::AssertionFailure() << "column " << j << " splits a region differently";
    }
    if (Streaming.regionSizeAt(j) != Scanning.regionSizeAt(j) || Streaming.regionSizeAt(j) < 1) {
      return ::testing::AssertionFailure() << "column " << j << " sizes "
                                           << Streaming.regionSizeAt(j) << " and "
                                           << Scanning.regionSizeAt(j);
    }
  }
  if (Streaming.nextLabel() != Scanning.nextLabel() ||
      Streaming.mergeCount() != Scanning.mergeCount()) {
    return ::testing::AssertionFailure() << "labels created or merges differ";
  }
  return ::testing::AssertionSuccess();
}

TEST(Labeller, StreamingMatchesTheReferenceAfterEveryRow) {
  std::mt19937 random(7);
  const int widths[] = {1, 4, 17, 64, 300};
  const double densities[] = {0.3, 0.45, 0.55, 0.6, 0.7, 0.8, 0.9};
  for (const int width : widths) {
    for (const double density : densities) {
      for (int trial = 0; trial < 3; ++trial) {
        const int rows = 1 + static_cast<int>(random() % 300);
        const Grid grid = RandomGrid(random, rows, width, density);
        Streaming.operations.initLabeller(width);
        Scanning.operations.initLabeller(width);
        for (std::size_t row = 0; row < grid.size(); ++row) {
          LabelRow(Streaming, grid, row);
          LabelRow(Scanning, grid, row);
          ASSERT_TRUE(SameStateAfterRow(width))
              << "row " << row + 1 << " of " << rows << " x " << width << " at " << density;
        }
        ASSERT_EQ(Streaming.operations.largestRegion(), Scanning.operations.largestRegion());
        ASSERT_EQ(Streaming.operations.regionCount(), Scanning.operations.regionCount());
      }
    }
  }
}

TEST(Labeller, ARunLeavesNothingBehindForTheNext) {
  // A wide, busy run followed by a small one in the same process.
  std::mt19937 random(3);
  const Grid wide = RandomGrid(random, 50, 400, 0.6);
  const Grid small = {"01", "11"};
  for (const LabellerUnderTest* labeller : BothLabellers) {
    RegionsOf(*labeller, wide);
    EXPECT_EQ(RegionsOf(*labeller, small), (Regions{1, 3})) << labeller->name;
    EXPECT_EQ(labeller->regionSizeAt(1), 3) << labeller->name;
  }
}

TEST(Labeller, CountsSizesBeyondThe32BitRange) {
  // One region of 2,148 full rows of MaxColumns cells: 2,148,002,148 cells, past 2^31 - 1.
  const std::string full(quorl::MaxColumns, '1');
  constexpr int Rows = 2148;
  quorl::InitLabeller(quorl::MaxColumns);
  for (int row = 1; row <= Rows; ++row) {
    quorl::LoadRow(row == 1, full);
    if (row == 1) {
      quorl::LabelFirstRow();
    } else {
      quorl::LabelLaterRow();
    }
  }
  EXPECT_EQ(quorl::RegionCount(), 1);
  EXPECT_EQ(quorl::LargestRegion(), std::int64_t{Rows} * quorl::MaxColumns);
}

}  // namespace
