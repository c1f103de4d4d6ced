// quorl's conversions: the integer text rules, reading integers and rows from a data file through
// the 128-byte channel, and writing integers.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/text_input.h"
#include "quorl/integer_reader.h"
#include "quorl/integer_writer.h"
#include "quorl/row_reader.h"
#include "tests/support/program_run.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(ParseInteger, AcceptsDecimalAndHexadecimalForms) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"-007", -7},
      {"+0", 0},
      {"-0", 0},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"0000000000000000000000002147483647", 2147483647},  // leading zeros do not count
      {"$A", 10},
      {"$a", 10},
      {"x10", 16},
      {"X1f", 31},
      {"0x10", 16},
      {"0XfF", 255},
      {"-x1", -1},
      {"+$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},
      {"$80000000", -2147483647 - 1},
      {"-$80000000", -2147483647 - 1},
      {"-$FFFFFFFF", 1},
      {"$000000000000000000FFFFFFFF", -1},
      {"0x0", 0},
  };
  for (const Case& c : cases) {
    std::int32_t value = 12345;
    EXPECT_TRUE(quorl::ParseInteger(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(ParseInteger, RefusesEverythingElse) {
  const char* const cases[] = {
      "",           "+",          "-",          "2147483648", "-2147483649", "99999999999999999999",
      "$100000000", "0x1FFFFFFFF", "1.0",       "1.",         ".5",          "1e3",
      "+-1",        "--1",        "$-1",        "0x+1",       "$",           "0x",
      "x",          "-0X",        "12a",        "0b1",        "$G",          "1 ",
      "0xx1",       "00x1",       "$$1",        "\xEF\xBB\xBF" "1",
  };
  for (const char* text : cases) {
    std::int32_t value = 0;
    EXPECT_FALSE(quorl::ParseInteger(text, value)) << text;
  }
}

// A data file for one test, opened on the input channel.
class ChannelTest : public ::testing::Test {
 protected:
  void Open(const std::string& bytes) {
    WriteFile(dir / "data", bytes);
    runtime::ClearFailure();
    input.Open((dir / "data").c_str());
    ASSERT_EQ(runtime::RecordedFailure(), 0);
  }
  void TearDown() override {
    input.CloseQuietly();
    runtime::ClearFailure();
  }
  TempDir dir;
  runtime::TextInput input;
};

TEST_F(ChannelTest, ReadsIntegersAcrossBlanksAndLineEnds) {
  Open(" \t12\r\n\n-$10\x01" "7 " + std::string(40, '0') + "9");
  EXPECT_EQ(quorl::ReadInteger(input), 12);
  EXPECT_EQ(quorl::ReadInteger(input), -16);
  EXPECT_EQ(quorl::ReadInteger(input), 7);
  // A run longer than 32 bytes is cut: the next read begins with its rest.
  EXPECT_EQ(quorl::ReadInteger(input), 0);
  EXPECT_EQ(quorl::ReadInteger(input), 9);
  EXPECT_EQ(runtime::RecordedFailure(), 0);
  // At the end of the data an integer reads as 0 without failure.
  EXPECT_EQ(quorl::ReadInteger(input), 0);
  EXPECT_EQ(runtime::RecordedFailure(), 0);
}

TEST_F(ChannelTest, InvalidIntegerRecordsAFailureAndReadingGoesOn) {
  Open("1.5 7 \x1A 8");
  EXPECT_EQ(quorl::ReadInteger(input), 0);
  EXPECT_EQ(runtime::RecordedFailure(), runtime::InvalidNumber);
  EXPECT_EQ(quorl::ReadInteger(input), 7);
  EXPECT_EQ(quorl::ReadInteger(input), 0);  // byte 26 ends the data
}

std::vector<std::string> ReadRows(runtime::TextInput& input, std::size_t capacity, int count) {
  std::vector<std::string> rows;
  std::string text(capacity, '?');
  for (int i = 0; i < count; ++i) {
    rows.emplace_back(text.data(), quorl::ReadRow(input, text.data(), capacity));
    runtime::SkipLine(input);
  }
  return rows;
}

TEST_F(ChannelTest, ReadsRowsUpToTheirLineEnds) {
  struct Case {
    std::string bytes;
    std::size_t capacity;
    std::vector<std::string> rows;
  };
  const std::string wide = std::string(127, '1') + "\r\n" + std::string(300, '0');
  const Case cases[] = {
      {"1011\n0110\r\n\n111", 10, {"1011", "0110", "", "111", ""}},
      {"  1 \t\n", 10, {"  1 \t", ""}},                         // blanks are cells
      {"1\r01\r\r\n1\r", 10, {"101", "1", ""}},                 // lone carriage returns dropped
      {"1011\x1A" "11\n11", 10, {"1011", "", ""}},              // byte 26 ends the data
      {"1234567\n89", 3, {"123", "89", ""}},                    // only the capacity is kept
      {"1\r2\r3\r4\r5\n", 3, {"123", ""}},
      {"111\n", 0, {"", ""}},
      // The line end straddles a 128-byte block: the carriage return ends the first block.
      {wide, 200, {std::string(127, '1'), std::string(200, '0'), ""}},
      {std::string(127, '1') + "\r0\n", 200, {std::string(127, '1') + "0", ""}},
      {std::string(1000, '1') + "\n1", 5, {"11111", "1"}},
  };
  for (const Case& c : cases) {
    Open(c.bytes);
    EXPECT_EQ(ReadRows(input, c.capacity, static_cast<int>(c.rows.size())), c.rows)
        << c.bytes.substr(0, 20);
    EXPECT_EQ(runtime::RecordedFailure(), 0);
    input.CloseQuietly();
  }
}

TEST(FormatInteger, WritesPlainDecimalDigits) {
  struct Case {
    std::int64_t value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},
      {7, "7"},
      {10, "10"},
      {1234567890, "1234567890"},
      {10000000000, "10000000000"},
      {-5, "-5"},
      {INT64_MAX, "9223372036854775807"},
      {INT64_MIN, "-9223372036854775808"},
  };
  for (const Case& c : cases) {
    char text[quorl::MaxIntegerTextLength];
    EXPECT_EQ(std::string(text, quorl::FormatInteger(c.value, text)), c.text);
  }
}

}  // namespace
