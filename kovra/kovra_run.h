// The volume program from its input to its output: reads L and D, searches for the largest volume
// of the truncated cone, writes it with ten decimals.
#pragma once

#include "common/standard_channels.h"

namespace kovra {

using runtime::DataFiles;

inline constexpr DataFiles StandardFiles{"kovra.in", "kovra.out"};

// Runs after start-up. Returns 0 after writing the answer; a failure ends the run with the report
// instead, through the runtime.
int RunKovra(const DataFiles& files);

}  // namespace kovra
