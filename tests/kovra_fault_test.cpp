// The built kovra against failing files, devices and process limits: every refusal the platform
// can produce must end the run with its error number and the report, an earlier kovra.out left as
// it was whenever the failure comes before the output is created, and the exit code must be right
// even when the report itself cannot be written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/fault_run.h"
#include "tests/support/program_run.h"

namespace {

using testing_support::ChildLimits;
using testing_support::FileExists;
using testing_support::IsReport;
using testing_support::ReadFile;
using testing_support::RunUnderFaults;
using testing_support::StandardOutput;
using testing_support::TempDir;
using testing_support::WriteFile;

const std::string Earlier = "an earlier answer\r\n";
const std::string Shape = "10 5\n";
const std::string ShapeLine = "909.1110964760\r\n";

std::string In(const TempDir& dir) { return dir / "kovra.in"; }
std::string Out(const TempDir& dir) { return dir / "kovra.out"; }

void Link(const std::string& target, const std::string& path) {
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0) << path;
}

struct FileFault {
  const char* name;
  void (*prepare)(const TempDir& dir);
  ChildLimits limits;
  int code;
  const char* outputAfter;  // the bytes of kovra.out after the run; nullptr: not a plain file
};

const FileFault FileFaults[] = {
    {"output through a dangling link into a missing directory",
     [](const TempDir& dir) {
       WriteFile(In(dir), Shape);
       Link("missing/kovra.out", Out(dir));
     },
     {}, 3, nullptr},
    {"input whose first block cannot be read",
     [](const TempDir& dir) {
       Link("/proc/self/mem", In(dir));
       WriteFile(Out(dir), Earlier);
     },
     {}, 1117, "an earlier answer\r\n"},
    {"input link that loops",
     [](const TempDir& dir) {
       Link("kovra.in", In(dir));
       WriteFile(Out(dir), Earlier);
     },
     {}, 1921, "an earlier answer\r\n"},
    {"output link that loops",
     [](const TempDir& dir) {
       WriteFile(In(dir), Shape);
       Link("kovra.out", Out(dir));
     },
     {}, 1921, nullptr},
    {"output larger than the file size limit",
     [](const TempDir& dir) {
       WriteFile(In(dir), Shape);
       WriteFile(Out(dir), Earlier);
     },
     {.fileSize = 4}, 223, "909."},
};

TEST(KovraFaults, EachRefusalEndsTheRunWithItsErrorNumber) {
  for (const FileFault& fault : FileFaults) {
    TempDir dir;
    fault.prepare(dir);
    const auto result = RunUnderFaults(KOVRA_PATH, dir.path(), StandardOutput::Captured, fault.limits);
    EXPECT_EQ(result.exitCode, fault.code % 256) << fault.name;
    EXPECT_TRUE(IsReport(result.standardOutput, fault.code)) << fault.name << ": " << result.standardOutput;
    if (fault.outputAfter != nullptr) {
      EXPECT_EQ(ReadFile(Out(dir)), fault.outputAfter) << fault.name;
    }
  }
}

TEST(KovraFaults, DanglingOutputLinkCreatesNoDirectory) {
  TempDir dir;
  WriteFile(In(dir), Shape);
  Link("missing/kovra.out", Out(dir));
  EXPECT_EQ(RunUnderFaults(KOVRA_PATH, dir.path(), StandardOutput::Captured).exitCode, 3);
  EXPECT_FALSE(FileExists(dir / "missing"));
}

// A FIFO as kovra.out is a pipe: the line reaches it when the file is closed. The test holds the
// reading end open without blocking, so the program's open finds a reader and nothing waits.
TEST(KovraFaults, WritesTheLineIntoAFifo) {
  TempDir dir;
  WriteFile(In(dir), Shape);
  ASSERT_EQ(mkfifo(Out(dir).c_str(), 0644), 0);
  const int reader = open(Out(dir).c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const auto result = RunUnderFaults(KOVRA_PATH, dir.path(), StandardOutput::Captured);
  char bytes[128];
  const ssize_t got = read(reader, bytes, sizeof bytes);
  close(reader);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(std::string(bytes, got > 0 ? static_cast<std::size_t>(got) : 0), ShapeLine);
}

// A FIFO as kovra.in hands out what its writer has written so far: a short read is not the end of
// the data, only the writer's close is.
TEST(KovraFaults, ReadsAFifoWhoseWriterIsSlow) {
  TempDir dir;
  ASSERT_EQ(mkfifo(In(dir).c_str(), 0644), 0);
  std::thread writer([path = In(dir)] {
    int fd = -1;
    // Opening for writing without a reader fails at once; wait for the program to open its end.
    for (int attempt = 0; attempt < 10000 && fd < 0; ++attempt) {
      fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd < 0) return;
    for (const char* piece : {"1", "0 ", "5", "\n"}) {
      (void)!write(fd, piece, std::char_traits<char>::length(piece));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    close(fd);
  });
  const auto result = RunUnderFaults(KOVRA_PATH, dir.path(), StandardOutput::Captured);
  writer.join();
  EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
  EXPECT_EQ(ReadFile(Out(dir)), ShapeLine);
}

struct UnwritableReportCase {
  const char* name;
  void (*prepare)(const TempDir& dir);
  int exitCode;
};

// With descriptor 1 closed, the first data file the program opens takes it: the report must not
// land in a data file, and the exit code must still tell.
const UnwritableReportCase UnwritableReportCases[] = {
    {"missing input", [](const TempDir&) {}, 2},
    {"invalid text", [](const TempDir& dir) { WriteFile(In(dir), "3,5 4\n"); }, 106},
    {"overflow while reading", [](const TempDir& dir) { WriteFile(In(dir), "1e400 1\n"); }, 205},
    {"infinity in the search", [](const TempDir& dir) { WriteFile(In(dir), "1e5120 1\n"); }, 207},
    {"read error", [](const TempDir& dir) { Link("/proc/self/mem", In(dir)); }, 1117 % 256},
    {"full device as output",
     [](const TempDir& dir) {
       WriteFile(In(dir), Shape);
       Link("/dev/full", Out(dir));
     },
     112},
    {"answer", [](const TempDir& dir) { WriteFile(In(dir), Shape); }, 0},
};

TEST(KovraFaults, ExitCodeIsRightWhenTheReportCannotBeWritten) {
  for (const auto output : {StandardOutput::Closed, StandardOutput::BrokenPipe}) {
    for (const UnwritableReportCase& c : UnwritableReportCases) {
      const char* how = output == StandardOutput::Closed ? "closed" : "broken pipe";
      TempDir dir;
      c.prepare(dir);
      const auto result = RunUnderFaults(KOVRA_PATH, dir.path(), output);
      EXPECT_EQ(result.signal, 0) << c.name << ", " << how;
      EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ", " << how;
      struct stat status;
      if (lstat(Out(dir).c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        EXPECT_EQ(ReadFile(Out(dir)), ShapeLine) << c.name << ", " << how;
      }
    }
  }
}

// The longest fixed-form line: an answer from 10^36 up to just below 2^120 has 37 integer digits,
// 19 of them significant, and the line is 50 bytes.
TEST(KovraFaults, WritesTheLongestAnswerLine) {
  TempDir dir;
  WriteFile(In(dir), "9e11 9e11\n");
  const auto result = RunUnderFaults(KOVRA_PATH, dir.path(), StandardOutput::Captured);
  EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
  const std::string line = ReadFile(Out(dir));
  ASSERT_EQ(line.size(), 50u) << line;
  EXPECT_EQ(line[0], '1') << line;
  EXPECT_EQ(line.find_first_not_of("0123456789"), 37u) << line;
  EXPECT_EQ(line.substr(19), std::string(18, '0') + ".0000000000\r\n") << line;
}

}  // namespace
