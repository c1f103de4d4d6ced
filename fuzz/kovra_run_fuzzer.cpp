// The whole volume program, run in process on any kovra.in.
//
// Whatever the bytes, a run must end in one of two ways: the answer line in kovra.out and code 0,
// or the report with one of the codes that input alone can cause (106 invalid text, 205 overflow,
// 207 an infinite input), with the kovra.out of before left byte for byte as it was. A file error,
// a division by zero or a fault is a finding; a search that never ends shows as a timeout.
#include <fcntl.h>
#include <sys/stat.h>
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
#include "kovra/kovra_run.h"

namespace {

constexpr char EarlierOutput[] = "kovra.out of an earlier run\r\n";
// The answer line, at most 50 bytes with its line end.
constexpr std::size_t MaxLineLength = 50;

struct RunFiles {
  std::string input;
  std::string output;
};

// tmpfs keeps the file traffic of every run in memory. The directory is made in FUZZ_SCRATCH when
// that is set (scripts/fuzz.sh sets it and removes it afterwards), in /dev/shm otherwise.
const RunFiles& Files() {
  static const RunFiles files = [] {
    const char* scratch = std::getenv("FUZZ_SCRATCH");
    std::string pattern = std::string(scratch != nullptr ? scratch : "/dev/shm") + "/kovra-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    return RunFiles{pattern + "/kovra.in", pattern + "/kovra.out"};
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
  std::fprintf(stderr, "%s: code %d, kovra.out \"%s\"\n", what, code, output.c_str());
  std::abort();
}

bool IsInputFailure(int code) {
  return code == runtime::InvalidNumber || code == 205 || code == 207;
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
  WriteFile(files.output, EarlierOutput, sizeof EarlierOutput - 1);

  const kovra::DataFiles dataFiles{files.input.c_str(), files.output.c_str()};
  const int code = fuzz_support::RunInProcess([&] { return kovra::RunKovra(dataFiles); });
  const std::string output = ReadFile(files.output);
  if (code == 0) {
    static const std::regex answerLine("((0|[1-9][0-9]*)\\.[0-9]{10}| [1-9]\\.[0-9]E\\+[0-9]{4})\r\n");
    if (output.size() > MaxLineLength || !std::regex_match(output, answerLine)) {
      Finding("malformed answer", code, output);
    }
  } else if (!IsInputFailure(code)) {
    Finding("failure no input can cause", code, output);
  } else if (output != EarlierOutput) {
    Finding("failed run touched kovra.out", code, output);
  }
  return 0;
}
