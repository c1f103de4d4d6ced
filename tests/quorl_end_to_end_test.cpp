// The built quorl, run in a fresh directory: the exact bytes of quorl.out, the exit code and the
// exact bytes of standard output, for answers, for the limits of the fixed tables, and for every
// failure this platform can produce.

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
constexpr int MaxColumns = 1'000'001;
constexpr int MaxLabels = 10'000'000;

class QuorlRun : public ::testing::Test {
 protected:
  testing_support::ProgramResult Run() { return RunProgram(QUORL_PATH, dir.path()); }
  std::string In() const { return dir / "quorl.in"; }
  std::string Out() const { return dir / "quorl.out"; }

  void ExpectAnswer(const std::string& input, const std::string& line) {
    WriteFile(In(), input);
    WriteFile(Out(), Earlier);
    const auto result = Run();
    EXPECT_EQ(result.exitCode, 0) << input.substr(0, 40);
    EXPECT_EQ(result.standardOutput, "") << input.substr(0, 40);
    EXPECT_EQ(ReadFile(Out()), line + "\r\n") << input.substr(0, 40);
  }

  void ExpectFailureBeforeOutput(const std::string& input, int code) {
    WriteFile(In(), input);
    WriteFile(Out(), Earlier);
    const auto result = Run();
    EXPECT_EQ(result.exitCode, code) << input.substr(0, 40);
    EXPECT_TRUE(IsReport(result.standardOutput, code))
        << input.substr(0, 40) << ": " << result.standardOutput;
    EXPECT_EQ(ReadFile(Out()), Earlier) << input.substr(0, 40);
  }

  TempDir dir;
};

TEST_F(QuorlRun, WritesTheRegionCountAndTheLargestRegion) {
  struct Case {
    std::string input;
    std::string line;
  };
  const Case cases[] = {
      {"3 4\n1101\n0101\n1111\n", "1 9"},
      {"3 4\n1001\n1001\n1111\n", "1 8"},
      {"4 4\n1010\n0101\n1010\n0101\n", "8 1"},
      {"1 10\n1101110111\n", "3 3"},
      {"5 5\n11111\n10001\n10101\n10001\n11111\n", "2 16"},
      {"2 3\n000\n000\n", "0 0"},
      {"1 1\n1", "1 1"},  // the last line needs no line end
      {"3 4\r\n1001\r\n1001\r\n1111\r\n", "1 8"},
      {"2 3\n1110000111\n1011111\n", "1 5"},  // characters after column m are ignored
      {"2 4\n1#1x\n2111\n", "2 4"},           // only the digit 1 is set
      {"1 5\n1 1 1\n", "3 1"},                // blanks are cells
      {"1 3\n\t11\n", "1 2"},                 // leading blanks are not skipped
      {"2 3\n1\r1\r1\n111\n", "1 6"},         // lone carriage returns are dropped
  };
  for (const Case& c : cases) ExpectAnswer(c.input, c.line);
}

TEST_F(QuorlRun, ReadsTheHeaderInEveryForm) {
  struct Case {
    std::string input;
    std::string line;
  };
  const Case cases[] = {
      {"", "0 0"},                                     // an empty file reads as 0 0
      {"3 4 and some words\n1001\n1001\n1111\n", "1 8"},
      {"3\n4\n1001\n1001\n1111\n", "1 8"},             // rows begin after the line holding m
      {"  \t3 \r\n\n  4   \n1001\n1001\n1111", "1 8"},
      {"$3 x4\n1001\n1001\n1111\n", "1 8"},
      // $A is 10: the eleventh row, which would join the last region, is never read.
      {"$A 3\n111\n010\n000\n000\n000\n000\n000\n000\n111\n101\n111\n", "2 5"},
      {"+0003 0X4\n1001\n1001\n1111\n", "1 8"},
      {"3 4", "0 0"},                                  // no rows: they read as empty
      {"3", "0 0"},                                    // m missing: 0
  };
  for (const Case& c : cases) ExpectAnswer(c.input, c.line);
}

TEST_F(QuorlRun, NoRowsOrNoColumnsGiveNoRegions) {
  const std::string cases[] = {
      "0 4\n1111\n1111\n",
      "-5 4\n1111\n",
      "$80000000 4\n1111\n",
      "3 0\n111\n111\n111\n",
      "3 -1\n111\n",
      "2 -2147483648\n1\n1\n",
  };
  for (const std::string& input : cases) ExpectAnswer(input, "0 0");
}

TEST_F(QuorlRun, ShortAndMissingRowsHaveUnsetCells) {
  struct Case {
    std::string input;
    std::string line;
  };
  const Case cases[] = {
      {"4 3\n1\n\n111\n", "2 3"},        // the last row is missing
      {"3 4\n11\n0011\n1", "3 2"},
      {"3 4\n1111\n\n1111\n", "2 4"},    // an empty row splits the grid
  };
  for (const Case& c : cases) ExpectAnswer(c.input, c.line);
}

TEST_F(QuorlRun, AHugeRowCountEndsWithTheData) {
  // Every row past the end of the data is empty and changes nothing: these runs end at once.
  struct Case {
    std::string input;
    std::string line;
  };
  const Case cases[] = {
      {"2147483647 1000001\n1\n", "1 1"},
      {"2147483647 5\n11\n\n\n11", "2 2"},
      {"$7FFFFFFF -1\n", "0 0"},
      {"2147483647 3\n111\x1A" "111\n", "1 3"},
  };
  for (const Case& c : cases) ExpectAnswer(c.input, c.line);
}

TEST_F(QuorlRun, Byte26EndsTheData) {
  struct Case {
    std::string input;
    std::string line;
  };
  const Case cases[] = {
      {"\x1A" "3 4\n1111\n", "0 0"},
      {"3 4\n1111\n11\x1A" "11\n1111\n", "1 6"},
      {"3 4\n1111\n1111\n\x1A" "1111\n", "1 8"},
  };
  for (const Case& c : cases) ExpectAnswer(c.input, c.line);
}

TEST_F(QuorlRun, NothingAfterTheLastRowIsRead) {
  // Trailing text, even an invalid number, is never looked at.
  ExpectAnswer("1 2\n11\n1.5 garbage\n\xFF", "1 2");
}

TEST_F(QuorlRun, FailuresBeforeTheOutputLeaveItUntouched) {
  struct Case {
    std::string input;
    int code;
  };
  const Case cases[] = {
      {"2147483648 4\n1111\n", 106},          // n out of range
      {"1 -2147483649\n", 106},
      {"$100000000 1\n", 106},                // more than 32 bits
      {"3.0 4\n", 106},
      {"3 4x\n", 106},
      {"x 4\n", 106},                          // a prefix without digits
      {"\xEF\xBB\xBF" "1 3\n111\n", 106},      // a byte-order mark is ordinary data
      {"1 1000002\n1\n", 201},                 // m above MaxColumns: no row is read
      {"0 2147483647\n", 201},
      {"1.5 1000002\n", 201},                  // both reads take place; the last code is reported
      {"1 1000002 \n1.5\n", 201},
  };
  for (const Case& c : cases) ExpectFailureBeforeOutput(c.input, c.code);
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  text.reserve(piece.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST_F(QuorlRun, TakesTheWidestGrid) {
  const std::string full(MaxColumns, '1');
  ExpectAnswer("2 " + std::to_string(MaxColumns) + "\n" + full + "\n" + full + "\n",
               "1 " + std::to_string(2 * MaxColumns));
}

// A checkerboard of rows of width 1,000,000: every set cell is a region of its own and takes a new
// label, 500,000 of them per row.
std::string Checkerboard(int rows) {
  constexpr int Width = 1'000'000;
  const std::string odd = Repeat("10", Width / 2) + "\n";
  const std::string even = Repeat("01", Width / 2) + "\n";
  std::string text = std::to_string(rows) + " " + std::to_string(Width) + "\n";
  for (int row = 1; row <= rows; ++row) text += row % 2 == 1 ? odd : even;
  return text;
}

TEST_F(QuorlRun, CreatesUpToMaxLabelsLabels) {
  static_assert(MaxLabels == 20 * 500'000);
  ExpectAnswer(Checkerboard(20), std::to_string(MaxLabels) + " 1");
}

TEST_F(QuorlRun, FailsOnTheRowThatNeedsOneLabelTooMany) {
  ExpectFailureBeforeOutput(Checkerboard(21), 201);
  // The same when more rows follow the one that ran out of labels.
  ExpectFailureBeforeOutput(Checkerboard(23), 201);
}

TEST_F(QuorlRun, FailsOnMissingInputWithoutCreatingTheOutput) {
  EXPECT_EQ(Run().exitCode, 2);
  EXPECT_FALSE(FileExists(Out()));
}

}  // namespace
