// The longest answers the writer can give: values from 10^36 up to just below 2^120 keep the fixed
// form with e = 35 but scale to s >= 10, so the lead digit stands before 36 more integer digits.
// The text is then 48 bytes, and the writer must be given room for all of them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kovra/real_writer.h"

namespace {

struct LongestCase {
  double value;
  const char* text;
};

// 19 significant digits (lead digit and 18), the remaining integer positions 0.
constexpr LongestCase LongestCases[] = {
    // 1000000000000000042420637374017961984
    {1e36, "1000000000000000042000000000000000000.0000000000"},
    // 1329227995784915725329854470603931648, the double just below 2^120
    {0x1.fffffffffffffp119, "1329227995784915725000000000000000000.0000000000"},
};

TEST(WriterLimits, ThirtySevenIntegerDigitsFitTheText) {
  for (const auto& [value, expected] : LongestCases) {
    // Bytes past the promised room would show up as overwritten guards.
    char text[kovra::MaxRealTextLength + 8];
    std::memset(text, '#', sizeof text);
    const std::size_t length = kovra::FormatWithTenDecimals(value, text);
    EXPECT_EQ(std::string(text, length), expected) << std::hexfloat << value;
    EXPECT_EQ(length, kovra::MaxRealTextLength);
    EXPECT_EQ(std::string(text + kovra::MaxRealTextLength, 8), "########");
  }
}

}  // namespace
