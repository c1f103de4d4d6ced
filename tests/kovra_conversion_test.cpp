// Reading and writing reals: the text rules, the extended-precision values, and the digits written.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "common/failure.h"
#include "kovra/powers_of_ten.h"
#include "kovra/real_reader.h"
#include "kovra/real_writer.h"
#include "tests/support/program_run.h"

namespace {

using kovra::Extended;

std::string Hex(Extended value) {
  char text[64];
  std::snprintf(text, sizeof text, "%La (%.21Lg)", value, value);
  return text;
}

std::string Written(double value) {
  char text[kovra::MaxRealTextLength];
  return {text, kovra::FormatWithTenDecimals(value, text)};
}

TEST(PowersOfTen, EveryEntryIsTheCorrectlyRoundedPower) {
  const auto check = [](const Extended* table, int count, int stride) {
    for (int i = 0; i < count; ++i) {
      const std::string text = "1e" + std::to_string(i * stride);
      const Extended expected = std::strtold(text.c_str(), nullptr);
      EXPECT_EQ(table[i], expected) << text << ": " << Hex(table[i]) << " vs " << Hex(expected);
    }
  };
  check(kovra::PowersOfTenBy1, 32, 1);
  check(kovra::PowersOfTenBy32, 16, 32);
  check(kovra::PowersOfTenBy512, 10, 512);
}

TEST(PowersOfTen, SearchConstantsAreTheNearestExtendedValues) {
  EXPECT_EQ(kovra::Tolerance, std::strtold("1e-12", nullptr));
  const Extended piOverThree = std::strtold(
      "1.047197551196597746154214461093167628065723133125035273658314864102605468762069666209",
      nullptr);
  EXPECT_EQ(kovra::PiOverThree, piOverThree) << Hex(kovra::PiOverThree);
}

TEST(ParseReal, ReadsTheValidForms) {
  struct Case {
    const char* text;
    Extended expected;
    bool negative;
  };
  const Case cases[] = {
      {"2.5", 2.5L, false},      {"-.5", -0.5L, true},  {"3.", 3, false},
      {"+1E+2", 100, false},     {".", 0, false},       {"-.", -0.0L, true},
      {"E7", 0, false},          {"e-0", 0, false},     {"+.", 0, false},
      {"007", 7, false},         {"-0", -0.0L, true},   {"1e27", 1e27L, false},
      {"65536e-16", 0x1p16L / 1e16L, false},
      {"12.50e-1", 1.25L, false},
      {".5e1", 5, false},
      {"1e-5000", 0, false},  // far below the extended range: silently 0
      {"1e-5120", 0, false},
      // Thirty digits accumulate with a rounding at every step, which here ends one unit in the
      // last place below the correctly rounded 0xC77487FB61B9F077p+33.
      {"123456789012345678901234567890", 0xC77487FB61B9F076p+33L, false},
  };
  for (const Case& c : cases) {
    Extended value = 99;
    ASSERT_TRUE(kovra::ParseReal(c.text, value)) << c.text;
    EXPECT_EQ(value, c.expected) << c.text << ": " << Hex(value);
    EXPECT_EQ(std::signbit(value), c.negative) << c.text;
  }
}

TEST(ParseReal, ExponentOf5120OrMoreIsInfinityWhateverTheDigits) {
  for (const char* text : {"1e5120", "0e5120", "-2E99999999999999999999", "E5120"}) {
    Extended value = 0;
    ASSERT_TRUE(kovra::ParseReal(text, value)) << text;
    EXPECT_TRUE(std::isinf(value)) << text;
  }
}

TEST(ParseReal, RefusesInvalidText) {
  for (const char* text : {"1e", "1.2.3", "1,5", "0x10", "inf", "nan", "+", "-", "1e+", "--1",
                           "+-1", "1e1.5", "1E2E3", "1d5", "\xEF\xBB\xBF" "1", "e", "1e--2", "$10",
                           "1 "}) {
    Extended value = 0;
    EXPECT_FALSE(kovra::ParseReal(text, value)) << text;
  }
}

class ReadRealTest : public ::testing::Test {
 protected:
  void SetUp() override { runtime::ClearFailure(); }
  void TearDown() override { input.CloseQuietly(); }
  void OpenWith(const std::string& bytes) {
    testing_support::WriteFile(dir / "in", bytes);
    input.Open((dir / "in").c_str());
  }
  testing_support::TempDir dir;
  runtime::TextInput input;
};

TEST_F(ReadRealTest, ARunLongerThan64BytesIsCutAndResumed) {
  OpenWith(std::string(64, '0') + "12 5");
  EXPECT_EQ(kovra::ReadReal(input), 0.0);
  EXPECT_EQ(kovra::ReadReal(input), 12.0);
  EXPECT_EQ(kovra::ReadReal(input), 5.0);
  EXPECT_EQ(runtime::RecordedFailure(), 0);
}

TEST_F(ReadRealTest, EndOfDataReadsAsZeroWithoutFailure) {
  OpenWith(" \r\n\t 7 \x1A" "9");
  EXPECT_EQ(kovra::ReadReal(input), 7.0);
  EXPECT_EQ(kovra::ReadReal(input), 0.0);
  EXPECT_EQ(runtime::RecordedFailure(), 0);
}

TEST_F(ReadRealTest, InvalidTextRecords106AndTheNextReadGoesOn) {
  OpenWith("3,5 4");
  EXPECT_EQ(kovra::ReadReal(input), 0.0);
  EXPECT_EQ(runtime::RecordedFailure(), runtime::InvalidNumber);
  EXPECT_EQ(kovra::ReadReal(input), 4.0);
}

TEST(WriteReal, WritesTenDecimalsInFixedAndExponentialForm) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0.0000000000"},
      {-0.0, "0.0000000000"},
      {0.5, "0.5000000000"},
      {2.0 / 3.0, "0.6666666667"},
      {9.99999999999, "10.0000000000"},
      {4.9999999999e-11, "0.0000000001"},
      {12345678.87654321, "12345678.8765432108"},
      {123456789.123456789, "123456789.1234567910"},
      {1234567890.123456789, "1234567890.1234567200"},
      {1e35, "99999999999999996900000000000000000.0000000000"},
      {0x1p120, " 1.3E+0036"},
      // Just below 2^120 the fixed form takes 19 significant digits and its longest text.
      {0x1.fffffffffffffp119, "1329227995784915725000000000000000000.0000000000"},
      {32738041814.76769256591796875, "32738041814.7676926000"},
      {7766127650812548, "7766127650812548.0000000000"},
      {5e-324, "0.0000000000"},
      {1.7976931348623157e308, " 1.8E+0308"},
  };
  for (const Case& c : cases) EXPECT_EQ(Written(c.value), c.text) << Hex(c.value);
}

TEST(DigitString, HoldsTheLeadDigitAndEighteenDigitsOfTheScaledValue) {
  kovra::DigitString string = kovra::MakeDigitString(12345678.87654321L);
  EXPECT_EQ(string.exponent, 6);  // scaled to 12.345678..., so the lead digit is 1
  std::string digits;
  for (int at = 0; at <= 18; ++at) digits += static_cast<char>('0' + string.digits[at]);
  EXPECT_EQ(digits, "1234567887654321000");
}

TEST(DigitString, RoundsHalfUpWithACarryIntoTheLeadDigit) {
  kovra::DigitString string = kovra::MakeDigitString(9.99999999999L);
  EXPECT_EQ(string.digits[0], 0);
  kovra::RoundDigitString(string, 11);
  EXPECT_EQ(string.digits[0], 1);
  for (int at = 1; at < kovra::DigitString::Capacity; ++at) EXPECT_EQ(string.digits[at], 0) << at;
}

TEST(DigitString, LeavesDigitsBeforeAFourUntouched) {
  kovra::DigitString string = kovra::MakeDigitString(0.12344L);
  kovra::RoundDigitString(string, 5);
  EXPECT_EQ(string.digits[5], 4);
  EXPECT_EQ(string.digits[6], 0);
}

}  // namespace
