// Runs a built program under the faults a user's machine can throw at it from outside: a standard
// output that is closed or whose reader has gone, and process limits on file size and open files;
// or measures the peak memory of a run.
#pragma once

#include <sys/resource.h>

#include <string>

#include "tests/support/program_run.h"

namespace testing_support {

// Runs program with the standard output and limits of options.
inline ProgramResult RunUnderFaults(const std::string& program, const std::string& dir,
                                    StandardOutput output, RunOptions options = {}) {
  options.output = output;
  return RunProgram(program, dir, options);
}

struct MeasuredRun : ProgramResult {
  long peakResidentKilobytes = 0;
};

// Runs program through the peak_memory_run launcher (at launcher), so that the peak is the
// program's own and not that of the test process it was forked from.
MeasuredRun RunMeasuringPeakMemory(const std::string& launcher, const std::string& program,
                                   const std::string& dir);

}  // namespace testing_support
