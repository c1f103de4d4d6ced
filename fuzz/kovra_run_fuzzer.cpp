// The whole volume program, run in process on any kovra.in.
//
// Whatever the bytes, a run must end in one of two ways: the answer line in kovra.out and code 0,
// or the report with one of the codes that input alone can cause (106 invalid text, 205 overflow,
// 207 an infinite input), with the kovra.out of before left byte for byte as it was. A file error,
// a division by zero or a fault is a finding; a search that never ends shows as a timeout.

#include <cstdint>
#include <cstdio>
#include <regex>
#include <string>

#include "common/failure.h"
#include "fuzz/in_process_run.h"
#include "kovra/kovra_run.h"

namespace {

constexpr char EarlierOutput[] = "kovra.out of an earlier run\r\n";
// The answer line, at most 50 bytes with its line end.
constexpr std::size_t MaxLineLength = 50;

bool IsInputFailure(int code) {
  return code == runtime::InvalidNumber || code == 205 || code == 207;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::SilenceStandardOutput();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto& files = fuzz_support::ScratchFilesFor("kovra");
  fuzz_support::WriteBytes(files.input, bytes, size);
  fuzz_support::WriteBytes(files.output, EarlierOutput, sizeof EarlierOutput - 1);

  const kovra::DataFiles dataFiles{files.input.c_str(), files.output.c_str()};
  const int code = fuzz_support::RunInProcess([&] { return kovra::RunKovra(dataFiles); });
  const std::string output = fuzz_support::ReadBytes(files.output);
  if (code == 0) {
    static const std::regex answerLine(
        "((0|[1-9][0-9]*)\\.[0-9]{10}| [1-9]\\.[0-9]E\\+[0-9]{4})\r\n");
    if (output.size() > MaxLineLength || !std::regex_match(output, answerLine)) {
      fuzz_support::Finding("malformed answer", code, output);
    }
  } else if (!IsInputFailure(code)) {
    fuzz_support::Finding("failure no input can cause", code, output);
  } else if (output != EarlierOutput) {
    fuzz_support::Finding("failed run touched kovra.out", code, output);
  }
  return 0;
}
