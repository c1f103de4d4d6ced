// The region counter from its input to its output: reads the header n m and n rows of the grid,
// labels them row by row, writes the region count and the size of the largest region.
#pragma once

#include "common/standard_channels.h"

#include <cstdint>
#include <string_view>

namespace quorl {

using runtime::DataFiles;

inline constexpr DataFiles StandardFiles{"quorl.in", "quorl.out"};

// The labeller a run drives, one row at a time. The program uses the streaming labeller of
// labeller.h; another one with the same operations can stand in for it (to compare the two).
struct Labeller {
  void (*initLabeller)(std::int32_t m);
  void (*loadRow)(bool firstRow, std::string_view rowText);
  void (*labelFirstRow)();
  void (*labelLaterRow)();
  std::int64_t (*regionCount)();
  std::int64_t (*largestRegion)();
};

extern const Labeller StreamingLabeller;

// Runs after start-up. Returns 0 after writing the answer; a failure ends the run with the report
// instead, through the runtime. Nothing is kept from one run to the next in the same process.
int RunQuorl(const DataFiles& files);
int RunQuorlWith(const DataFiles& files, const Labeller& labeller);

}  // namespace quorl
