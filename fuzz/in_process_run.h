// Runs a program's flow in this process, many times over, as its main would run it once: start-up
// first, and a run that ends with the report comes back here with its failure code instead of
// ending the process. The runtime's fault handler stays only for floating-point exceptions (the
// codes 200, 205 and 207); any other fault is left to the sanitizers, which report it as a crash.
#pragma once

#include <csetjmp>

namespace fuzz_support {

namespace detail {
void StartRun();
void EndRun();
sigjmp_buf& RunEnd();
int EndedCode();
}  // namespace detail

// Returns 0 when flow returns, or the failure code of the report that ended the run.
template <typename Flow>
int RunInProcess(Flow&& flow) {
  detail::StartRun();
  int code;
  if (sigsetjmp(detail::RunEnd(), 1) == 0) {
    code = flow();
  } else {
    code = detail::EndedCode();
  }
  detail::EndRun();
  return code;
}

}  // namespace fuzz_support
