#include "fuzz/in_process_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

namespace fuzz_support {

const ScratchFiles& ScratchFilesFor(const char* program) {
  static const ScratchFiles files = [program] {
    const char* scratch = std::getenv("FUZZ_SCRATCH");
    std::string dir =
        std::string(scratch != nullptr ? scratch : "/dev/shm") + "/" + program + "-fuzz-XXXXXX";
    if (mkdtemp(dir.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    return ScratchFiles{dir + "/" + program + ".in", dir + "/" + program + ".out"};
  }();
  return files;
}

void WriteBytes(const std::string& path, const void* bytes, std::size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  if (!file) std::abort();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Finding(const char* what, int code, const std::string& output) {
  std::fprintf(stderr, "%s: code %d, output file \"%s\"\n", what, code, output.c_str());
  std::abort();
}

void SilenceStandardOutput() {
  const int devNull = ::open("/dev/null", O_WRONLY);
  ::dup2(devNull, STDOUT_FILENO);
  ::close(devNull);
}

}  // namespace fuzz_support
