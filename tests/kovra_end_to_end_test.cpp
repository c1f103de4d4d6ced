// The built kovra, run in a fresh directory: the exact bytes of kovra.out, the exit code and the
// exact bytes of standard output, for answers and for every failure this platform can produce.

#include <string>

#include <gtest/gtest.h>

#include "tests/support/program_run.h"

namespace {

using testing_support::FileExists;
using testing_support::IsReport;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;
using testing_support::WriteFile;

const std::string Earlier = "an earlier answer\r\n";

class KovraRun : public ::testing::Test {
 protected:
  testing_support::ProgramResult Run() { return RunProgram(KOVRA_PATH, dir.path()); }
  std::string In() const { return dir / "kovra.in"; }
  std::string Out() const { return dir / "kovra.out"; }
  TempDir dir;
};

TEST_F(KovraRun, WritesTheLargestVolumeWithTenDecimals) {
  struct Case {
    std::string input;
    std::string line;
  };
  const Case cases[] = {
      {"10 5", "909.1110964760"},
      {"1 1", "1.7141155472"},
      {"3 0", "10.8827961852"},
      {"7 3", "281.0508055936"},
      {"100 1", "410522.4155821935"},
      {"0.001 0.001", "0.0000000016"},
      {"2 -2", "6.2831853072"},
      {"0 0", "0.0000000000"},
      {"", "0.0000000000"},
      {" \t\r\n  \n", "0.0000000000"},
      {"602 8278", "32738041814.7676926000"},
      {"1000000 1000000", "1714115547185839620.0000000000"},
      {"1e12 1e12", " 1.7E+0036"},
      {"0.0005 2", "0.0015707963"},
      {"78 341", "7801384.4073479949"},
      {"10 -2", "274.7791742219"},
      {"216781 82471", "7766127650812548.0000000000"},
      {"8015 1", "207580643232.0507510000"},
      {"0.1 0.4", "0.0139746275"},
      {"1e-400 1", "0.0000000000"},
      {"-0 -0", "0.0000000000"},
      {"10\n5 and some words\nmore lines\n", "909.1110964760"},
      {"10 5\r\n", "909.1110964760"},
      {"10 5 1,5 junk", "909.1110964760"},
      {"\x1A" "10 5", "0.0000000000"},
      {"10 5\x1A" "junk", "909.1110964760"},
  };
  for (const Case& c : cases) {
    WriteFile(In(), c.input);
    WriteFile(Out(), Earlier);
    const auto result = Run();
    EXPECT_EQ(result.exitCode, 0) << c.input;
    EXPECT_EQ(result.standardOutput, "") << c.input;
    EXPECT_EQ(ReadFile(Out()), c.line + "\r\n") << c.input;
  }
}

TEST_F(KovraRun, FailuresBeforeTheOutputLeaveItUntouched) {
  struct Case {
    std::string input;
    int code;
  };
  const Case cases[] = {
      {"3,5 4", 106},                  // invalid first real
      {"\xEF\xBB\xBF" "10 5", 106},    // a byte-order mark is ordinary data
      {"x 5", 106},                    // invalid first real, valid second: both read, then 106
      {"10 1e", 106},
      {"1e400 1", 205},                // overflow when the real is stored
      {"1e5000 1", 205},               // overflow while scaling
      {"1e5119 1", 205},               // the largest exponent that is scaled, not infinity
      {"0.1e5120 1", 205},             // digits after the point lower the exponent below 5120
      {"x 1e400", 205},                // the overflow ends the run before the check
      {"1e103 1e103", 205},            // a sampled volume beyond the double range
      {"1e5120 1", 207},               // infinity meets an invalid operation in the first pass
      {"1 -1e5120", 207},
  };
  for (const Case& c : cases) {
    WriteFile(In(), c.input);
    WriteFile(Out(), Earlier);
    const auto result = Run();
    EXPECT_EQ(result.exitCode, c.code) << c.input;
    EXPECT_TRUE(IsReport(result.standardOutput, c.code)) << c.input << ": " << result.standardOutput;
    EXPECT_EQ(ReadFile(Out()), Earlier) << c.input;
  }
}

TEST_F(KovraRun, FailsOnMissingInputWithoutCreatingTheOutput) {
  EXPECT_EQ(Run().exitCode, 2);
  EXPECT_FALSE(FileExists(Out()));
}

TEST_F(KovraRun, ReportsTheSamePlaceFromRunToRun) {
  WriteFile(In(), "3,5 4");
  const auto first = Run();
  const auto second = Run();
  EXPECT_EQ(first.standardOutput, second.standardOutput);
  // Different failing places report different places.
  WriteFile(In(), "1e400 1");
  EXPECT_NE(Run().standardOutput.substr(21, 8), first.standardOutput.substr(21, 8));
}

}  // namespace
