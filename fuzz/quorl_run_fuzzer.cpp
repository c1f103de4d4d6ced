// The whole region counter, run in process on any quorl.in, with the tables shrunk at build time
// (QUORL_FUZZ_LIMITS) so that both limits are reached by small inputs.
//
// Whatever the bytes, a run must end with the result line and 0, or with the report and one of the
// codes input alone can cause (106 invalid header, 201 beyond a limit), with the quorl.out of before
// left as it was. The same input run with the scanning reference labeller must give the same code
// and the same line. Any row count goes: a header asking for two billion rows of a short file must
// end as quickly as the file does.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "common/failure.h"
#include "fuzz/in_process_run.h"
#include "quorl/limits.h"
#include "quorl/quorl_run.h"
#include "tests/quorl_reference_labeller.h"

namespace {

constexpr char EarlierOutput[] = "quorl.out of an earlier run\r\n";

struct RunFiles {
  std::string input;
  std::string output;
};

// tmpfs keeps the file traffic of every run in memory. The directory is made in FUZZ_SCRATCH when
// that is set (scripts/fuzz.sh sets it and removes it afterwards), in /dev/shm otherwise.
const RunFiles& Files() {
  static const RunFiles files = [] {
    const char* scratch = std::getenv("FUZZ_SCRATCH");
    std::string pattern = std::string(scratch != nullptr ? scratch : "/dev/shm") + "/quorl-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    return RunFiles{pattern + "/quorl.in", pattern + "/quorl.out"};
  }();
  return files;
}

void WriteFile(const std::string& path, const char* bytes, std::size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes, static_cast<std::streamsize>(size));
  if (!file) std::abort();
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

[[noreturn]] void Finding(const char* what, int code, const std::string& output) {
  std::fprintf(stderr, "%s: code %d, quorl.out \"%s\"\n", what, code, output.c_str());
  std::abort();
}

struct Outcome {
  int code;
  std::string output;
};

Outcome Run(const quorl::Labeller& labeller) {
  const RunFiles& files = Files();
  WriteFile(files.output, EarlierOutput, sizeof EarlierOutput - 1);
  const quorl::DataFiles dataFiles{files.input.c_str(), files.output.c_str()};
  const int code = fuzz_support::RunInProcess([&] { return quorl::RunQuorlWith(dataFiles, labeller); });
  return {code, ReadFile(files.output)};
}

}  // namespace

// The reports of millions of failed runs would only bury the fuzzer's own output, on standard error.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const int devNull = ::open("/dev/null", O_WRONLY);
  ::dup2(devNull, STDOUT_FILENO);
  ::close(devNull);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const RunFiles& files = Files();
  WriteFile(files.input, reinterpret_cast<const char*>(bytes), size);

  const Outcome streaming = Run(quorl::StreamingLabeller);
  if (streaming.code == 0) {
    static const std::regex resultLine("(0|[1-9][0-9]*) (0|[1-9][0-9]*)\r\n");
    if (!std::regex_match(streaming.output, resultLine)) Finding("malformed result", 0, streaming.output);
  } else if (streaming.code != runtime::InvalidNumber && streaming.code != quorl::ValueOutOfRange) {
    Finding("failure no input can cause", streaming.code, streaming.output);
  } else if (streaming.output != EarlierOutput) {
    Finding("failed run touched quorl.out", streaming.code, streaming.output);
  }

  const Outcome reference = Run(quorl_reference::ScanningLabeller);
  if (reference.code != streaming.code || reference.output != streaming.output) {
    std::fprintf(stderr, "reference labeller: code %d, quorl.out \"%s\"\n", reference.code, reference.output.c_str());
    Finding("streaming labeller differs from the reference", streaming.code, streaming.output);
  }
  return 0;
}
