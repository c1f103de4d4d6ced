// Start-up, common to both programs: the fault handler that turns processor exceptions into the
// report, the floating-point environment, no recorded failure, and both standard channels closed.
#pragma once

namespace runtime {

constexpr int AccessViolation = 216;

void StartUp();

}  // namespace runtime
