// The whole region counter, run in process on any quorl.in, with the tables shrunk at build time
// (QUORL_FUZZ_LIMITS) so that both limits are reached by small inputs.
//
// Whatever the bytes, a run must end with the result line and 0, or with the report and one of the
// codes input alone can cause (106 invalid header, 201 beyond a limit), with the quorl.out of
// before left as it was. The same input run with the scanning reference labeller must give the same
// code and the same line. Any row count goes: a header asking for two billion rows of a short file
// must end as quickly as the file does.

#include <cstdint>
#include <cstdio>
#include <regex>
#include <string>

#include "common/failure.h"
#include "fuzz/in_process_run.h"
#include "quorl/limits.h"
#include "quorl/quorl_run.h"
#include "tests/quorl_reference_labeller.h"

namespace {

constexpr char EarlierOutput[] = "quorl.out of an earlier run\r\n";

struct Outcome {
  int code;
  std::string output;
};

Outcome Run(const quorl::Labeller& labeller) {
  const auto& files = fuzz_support::ScratchFilesFor("quorl");
  fuzz_support::WriteBytes(files.output, EarlierOutput, sizeof EarlierOutput - 1);
  const quorl::DataFiles dataFiles{files.input.c_str(), files.output.c_str()};
  const int code =
      fuzz_support::RunInProcess([&] { return quorl::RunQuorlWith(dataFiles, labeller); });
  return {code, fuzz_support::ReadBytes(files.output)};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::SilenceStandardOutput();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto& files = fuzz_support::ScratchFilesFor("quorl");
  fuzz_support::WriteBytes(files.input, bytes, size);

  const Outcome streaming = Run(quorl::StreamingLabeller);
  if (streaming.code == 0) {
    static const std::regex resultLine("(0|[1-9][0-9]*) (0|[1-9][0-9]*)\r\n");
    if (!std::regex_match(streaming.output, resultLine))
      fuzz_support::Finding("malformed result", 0, streaming.output);
  } else if (streaming.code != runtime::InvalidNumber && streaming.code != quorl::ValueOutOfRange) {
    fuzz_support::Finding("failure no input can cause", streaming.code, streaming.output);
  } else if (streaming.output != EarlierOutput) {
    fuzz_support::Finding("failed run touched quorl.out", streaming.code, streaming.output);
  }

  const Outcome reference = Run(quorl_reference::ScanningLabeller);
  if (reference.code != streaming.code || reference.output != streaming.output) {
    std::fprintf(stderr, "reference labeller: code %d, quorl.out \"%s\"\n", reference.code,
                 reference.output.c_str());
    fuzz_support::Finding("streaming labeller differs from the reference", streaming.code,
                          streaming.output);
  }
  return 0;
}
