// Runs a program's flow in this process, many times over, as its main would run it once: start-up
// first, and a run that ends with the report comes back here with its failure code instead of
// ending the process. The runtime's fault handler stays only for floating-point exceptions (the
// codes 200, 205 and 207); any other fault is left to the sanitizers, which report it as a crash.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <string>

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

// The data files of a program's in-process runs, in a directory of their own made once per process
// on tmpfs (in FUZZ_SCRATCH when set: scripts/fuzz.sh sets it and removes it afterwards), so the
// file traffic of every run stays in memory.
struct ScratchFiles {
  std::string input;
  std::string output;
};
const ScratchFiles& ScratchFilesFor(const char* program);

void WriteBytes(const std::string& path, const void* bytes, std::size_t size);
std::string ReadBytes(const std::string& path);

// Reports what a run did wrong, with its code and the output file's bytes, and stops the fuzzer.
[[noreturn]] void Finding(const char* what, int code, const std::string& output);

// The reports of millions of failed runs would only bury the fuzzer's own output, on standard
// error.
void SilenceStandardOutput();

}  // namespace fuzz_support
