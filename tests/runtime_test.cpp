// The shared runtime: the report line, the error-number mapping, and the text channels' rules for
// data files (byte 26, blocks, blanks, runs, line skips, buffered output).
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/platform_file.h"
#include "common/run_error.h"
#include "common/text_input.h"
#include "common/text_output.h"
#include "tests/support/program_run.h"

namespace {

using namespace runtime;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(Report, WritesCodeRightAlignedAndPlaceInHex) {
  struct Case {
    int code;
    std::uint32_t place;
    const char* line;
  };
  const Case cases[] = {
      {2, 0x1A2B, "Runtime error   2 at 00001A2B"},
      {106, 0, "Runtime error 106 at 00000000"},
      {1117, 0xFFFFFFFF, "Runtime error1117 at FFFFFFFF"},
      {205, 0xDEADBEEF, "Runtime error 205 at DEADBEEF"},
  };
  for (const Case& c : cases) {
    char line[ReportLength];
    FormatReport(c.code, c.place, line);
    EXPECT_EQ(std::string(line, ReportLength), std::string(c.line, 29) + '\0') << c.code;
  }
}

TEST(ErrorNumbers, MapsEachErrnoToTheReportedNumber) {
  struct Case {
    int errnoValue;
    FileAction action;
    int expected;
  };
  const Case cases[] = {
      {ENOENT, FileAction::OpenInput, 2},   {ENOENT, FileAction::CreateOutput, 3},
      {ENOTDIR, FileAction::OpenInput, 3},  {EMFILE, FileAction::OpenInput, 4},
      {ENFILE, FileAction::CreateOutput, 4}, {EACCES, FileAction::OpenInput, 5},
      {EPERM, FileAction::CreateOutput, 5}, {EISDIR, FileAction::CreateOutput, 5},
      {EROFS, FileAction::CreateOutput, 5}, {EBADF, FileAction::Read, 6},
      {ENOMEM, FileAction::Read, 8},        {ETXTBSY, FileAction::CreateOutput, 32},
      {EBUSY, FileAction::OpenInput, 32},   {ENOSPC, FileAction::Write, 112},
      {EDQUOT, FileAction::Write, 112},     {EFBIG, FileAction::Write, 223},
      {ENAMETOOLONG, FileAction::OpenInput, 206}, {EIO, FileAction::Read, 1117},
      {ELOOP, FileAction::OpenInput, 1921}, {EINVAL, FileAction::Close, 31},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorNumberFor(c.errnoValue, c.action), c.expected) << c.errnoValue;
}

// Opens a channel on a file holding bytes, in a directory of its own.
class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearFailure(); }
  void TearDown() override { input.CloseQuietly(); }

  void OpenWith(const std::string& bytes) {
    WriteFile(dir / "in", bytes);
    input.Open((dir / "in").c_str());
    ASSERT_EQ(RecordedFailure(), 0);
  }

  std::string Remaining() {
    std::string rest;
    for (int byte; (byte = input.Peek()) != TextInput::EndOfData; input.Advance()) {
      rest += static_cast<char>(byte);
    }
    return rest;
  }

  TempDir dir;
  TextInput input;
};

TEST_F(ChannelTest, Byte26EndsTheDataForEveryRead) {
  OpenWith(std::string("ab\x1A" "cd\n", 6));
  EXPECT_EQ(Remaining(), "ab");
  EXPECT_TRUE(input.Buffered().empty());
  EXPECT_FALSE(SkipBlanks(input));
}

TEST_F(ChannelTest, Byte26InALaterBlockEndsTheDataThere) {
  const std::string before(300, 'x');
  OpenWith(before + "\x1A" + "tail");
  EXPECT_EQ(Remaining(), before);
}

TEST_F(ChannelTest, ReadsAcrossBlockBoundariesInOrder) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>('a' + i % 26);
  OpenWith(bytes);
  EXPECT_EQ(Remaining(), bytes);
}

TEST_F(ChannelTest, BlanksAreBytesUpTo32AcrossLineEnds) {
  std::string blanks;
  for (int b = 0; b <= 32; ++b) {
    if (b != 26) blanks += static_cast<char>(b);
  }
  OpenWith(blanks + "\r\n  7");
  ASSERT_TRUE(SkipBlanks(input));
  EXPECT_EQ(input.Peek(), '7');
}

TEST_F(ChannelTest, HighBytesAreNotBlanks) {
  OpenWith("\xEF\xBB\xBF" "1");
  ASSERT_TRUE(SkipBlanks(input));
  EXPECT_EQ(input.Peek(), 0xEF);
}

TEST_F(ChannelTest, RunStopsBeforeTheBlankAndIsCutAtItsLimit) {
  OpenWith("abcdefgh ij");
  char text[8];
  ASSERT_TRUE(SkipBlanks(input));
  EXPECT_EQ(std::string(text, ReadRun(input, text, 5)), "abcde");
  EXPECT_EQ(std::string(text, ReadRun(input, text, 5)), "fgh");
  EXPECT_EQ(input.Peek(), ' ');
  ASSERT_TRUE(SkipBlanks(input));
  EXPECT_EQ(std::string(text, ReadRun(input, text, 5)), "ij");
  EXPECT_EQ(ReadRun(input, text, 5), 0u);
}

TEST_F(ChannelTest, SkipLineConsumesTheLineFeedOnly) {
  const std::string longLine(500, 'w');
  OpenWith("one\r two\r\n" + longLine + "\nthree\n");
  SkipLine(input);
  EXPECT_EQ(input.Peek(), 'w');
  SkipLine(input);
  EXPECT_EQ(input.Peek(), 't');
  SkipLine(input);
  SkipLine(input);  // at the end of the data a skip simply stops
  EXPECT_EQ(input.Peek(), TextInput::EndOfData);
  EXPECT_EQ(RecordedFailure(), 0);
}

TEST_F(ChannelTest, OpeningRecordsTheErrorNumber) {
  input.Open((dir / "missing").c_str());
  EXPECT_EQ(RecordedFailure(), FileNotFound);
  ClearFailure();
  input.Open(dir.path().c_str());
  EXPECT_EQ(RecordedFailure(), AccessDenied);
  EXPECT_FALSE(input.IsOpen());
  EXPECT_EQ(input.Peek(), TextInput::EndOfData);
}

TEST(OutputChannel, CollectsBytesUntilCloseAndCreatesOrTruncates) {
  ClearFailure();
  TempDir dir;
  WriteFile(dir / "out", "old content that is longer than the new one");
  TextOutput output;
  output.Create((dir / "out").c_str());
  ASSERT_TRUE(output.IsOpen());
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += static_cast<char>('A' + i % 26);
  output.Write(expected.data(), expected.size());
  output.WriteLineEnd();
  output.Close();
  EXPECT_EQ(RecordedFailure(), 0);
  EXPECT_EQ(ReadFile(dir / "out"), expected + "\r\n");
}

TEST(OutputChannel, CreatingRecordsTheErrorNumber) {
  ClearFailure();
  TempDir dir;
  TextOutput output;
  output.Create((dir / "no-such-dir/out").c_str());
  EXPECT_EQ(RecordedFailure(), PathNotFound);
  output.Create(dir.path().c_str());
  EXPECT_EQ(RecordedFailure(), AccessDenied);
  EXPECT_FALSE(output.IsOpen());
}

TEST(OutputChannel, CharacterDeviceGetsEachLineAtItsEnd) {
  ClearFailure();
  TextOutput output;
  output.Create("/dev/full");
  ASSERT_TRUE(output.IsOpen());
  output.Write("1", 1);
  EXPECT_EQ(RecordedFailure(), 0);  // still held in the buffer
  output.WriteLineEnd();
  EXPECT_EQ(RecordedFailure(), DiskFull);
  output.CloseQuietly();
}

}  // namespace
