#include "fuzz/in_process_run.h"

#include <csignal>
#include <iterator>

#include "common/extended.h"
#include "common/run_error.h"
#include "common/startup.h"

namespace fuzz_support::detail {

namespace {

constexpr int SignalsLeftToSanitizers[] = {SIGSEGV, SIGBUS, SIGILL};

sigjmp_buf runEnd;
int endedCode = 0;

[[noreturn]] void LeaveRun(int exitCode) {
  endedCode = exitCode;
  siglongjmp(runEnd, 1);
}

}  // namespace

void StartRun() {
  struct sigaction kept[std::size(SignalsLeftToSanitizers)];
  for (std::size_t i = 0; i < std::size(SignalsLeftToSanitizers); ++i) {
    sigaction(SignalsLeftToSanitizers[i], nullptr, &kept[i]);
  }
  runtime::StartUp();
  for (std::size_t i = 0; i < std::size(SignalsLeftToSanitizers); ++i) {
    sigaction(SignalsLeftToSanitizers[i], &kept[i], nullptr);
  }
  runtime::SetRunEndHandler(LeaveRun);
  endedCode = 0;
}

void EndRun() {
  runtime::SetRunEndHandler(nullptr);
  runtime::ResetFloatingPointUnit();
}

sigjmp_buf& RunEnd() { return runEnd; }
int EndedCode() { return endedCode; }

}  // namespace fuzz_support::detail
