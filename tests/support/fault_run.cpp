#include "tests/support/fault_run.h"

#include <stdexcept>
#include <string>

namespace testing_support {

MeasuredRun RunMeasuringPeakMemory(const std::string& launcher, const std::string& program,
                                   const std::string& dir) {
  TempDir reportDir;
  const std::string report = reportDir / "peak";
  MeasuredRun result;
  static_cast<ProgramResult&>(result) =
      RunProgram(launcher, dir, {.argument = program.c_str(), .standardError = report.c_str()});
  const std::string errors = ReadFile(report);
  const std::size_t last = errors.rfind("peak-kilobytes ");
  if (last == std::string::npos) throw std::runtime_error("no peak reported: " + errors);
  result.peakResidentKilobytes = std::stol(errors.substr(last + 15));
  return result;
}

}  // namespace testing_support
