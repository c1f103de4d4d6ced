// The fixed sizes of quorl's tables, and the failure a run ends with when its input needs more.
//
// The tables are static and sized at build time; nothing grows with the input. A fuzzing build
// (QUORL_FUZZ_LIMITS) shrinks them so that grids at and beyond both limits stay small and quick.
#pragma once

#include <cstdint>

namespace quorl {

#ifdef QUORL_FUZZ_LIMITS
inline constexpr std::int32_t MaxColumns = 64;
inline constexpr std::int32_t MaxLabels = 1'000;
#else
// Largest m: the row arrays hold columns 0 to MaxColumns.
inline constexpr std::int32_t MaxColumns = 1'000'001;
// Largest number of labels one run may create, labels later merged away included.
inline constexpr std::int32_t MaxLabels = 10'000'000;
#endif

// A value outside the program's fixed range: m above MaxColumns, or a grid that needs more than
// MaxLabels labels.
inline constexpr int ValueOutOfRange = 201;

}  // namespace quorl
