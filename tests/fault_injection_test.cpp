// The built programs against failing files, devices and process limits: every refusal the platform
// can produce must end the run with its error number and the report, an earlier output file left as
// it was whenever the failure comes before the output is created, and the exit code must be right
// even when the report itself cannot be written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/fault_run.h"
#include "tests/support/program_run.h"

namespace {

using testing_support::RunOptions;
using testing_support::FileExists;
using testing_support::IsReport;
using testing_support::ReadFile;
using testing_support::RunMeasuringPeakMemory;
using testing_support::RunUnderFaults;
using testing_support::StandardOutput;
using testing_support::TempDir;
using testing_support::WriteFile;

const std::string Earlier = "an earlier answer\r\n";

struct InputFailure {
  const char* input;
  int code;
};

struct Program {
  const char* name;  // also the stem of its data files
  const char* path;
  const char* input;  // a valid input and the line it gives
  const char* line;
  // Failures that the bytes of the input alone cause.
  std::vector<InputFailure> inputFailures;
};

const Program Kovra{"kovra", KOVRA_PATH, "10 5\n", "909.1110964760\r\n",
                    {{"3,5 4\n", 106}, {"1e400 1\n", 205}, {"1e5120 1\n", 207}}};
const Program Quorl{"quorl", QUORL_PATH, "3 4\n1001\n1001\n1111\n", "1 8\r\n",
                    {{"2147483648 4\n", 106}, {"1 1000002\n1\n", 201}}};

// Test listings name the program rather than dump its bytes.
void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

class FaultInjection : public ::testing::TestWithParam<Program> {
 public:  // for the preparing steps of the tables
  const Program& program() const { return GetParam(); }
  std::string In() const { return dir() / (std::string(program().name) + ".in"); }
  std::string Out() const { return dir() / (std::string(program().name) + ".out"); }
  std::string InName() const { return std::string(program().name) + ".in"; }
  std::string OutName() const { return std::string(program().name) + ".out"; }
  testing_support::ProgramResult Run(StandardOutput output = StandardOutput::Captured, RunOptions limits = {}) {
    return RunUnderFaults(program().path, dir().path(), output, limits);
  }
  void Link(const std::string& target, const std::string& path) {
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0) << path;
  }
  void FreshDir() { dir_ = std::make_unique<TempDir>(); }
  const TempDir& dir() const { return *dir_; }
  std::unique_ptr<TempDir> dir_ = std::make_unique<TempDir>();
};

TEST_P(FaultInjection, EachRefusalEndsTheRunWithItsErrorNumber) {
  struct Fault {
    const char* name;
    void (*prepare)(FaultInjection& test);
    RunOptions limits;
    int code;
    bool outputKept;  // the earlier output file is still there, byte for byte
  };
  static const Fault Faults[] = {
      {"missing input", [](FaultInjection&) {}, {}, 2, true},
      {"input that is a directory",
       [](FaultInjection& t) { ASSERT_EQ(mkdir(t.In().c_str(), 0755), 0); }, {}, 5, true},
      {"output that is a directory",
       [](FaultInjection& t) {
         WriteFile(t.In(), t.program().input);
         ASSERT_EQ(mkdir(t.Out().c_str(), 0755), 0);
       },
       {}, 5, false},
      // A character device gets the line as it ends: the failure shows at the check after the line.
      {"output linked to a full device",
       [](FaultInjection& t) {
         WriteFile(t.In(), t.program().input);
         t.Link("/dev/full", t.Out());
       },
       {}, 112, false},
      {"input whose first block cannot be read",
       [](FaultInjection& t) { t.Link("/proc/self/mem", t.In()); }, {}, 1117, true},
      {"input link that loops", [](FaultInjection& t) { t.Link(t.InName(), t.In()); }, {}, 1921, true},
      {"output through a dangling link into a missing directory",
       [](FaultInjection& t) {
         WriteFile(t.In(), t.program().input);
         t.Link("missing/" + t.OutName(), t.Out());
       },
       {}, 3, false},
      {"output link that loops",
       [](FaultInjection& t) {
         WriteFile(t.In(), t.program().input);
         t.Link(t.OutName(), t.Out());
       },
       {}, 1921, false},
  };
  for (const Fault& fault : Faults) {
    FreshDir();
    if (fault.outputKept) WriteFile(Out(), Earlier);
    fault.prepare(*this);
    const auto result = Run(StandardOutput::Captured, fault.limits);
    EXPECT_EQ(result.exitCode, fault.code % 256) << fault.name;
    EXPECT_TRUE(IsReport(result.standardOutput, fault.code)) << fault.name << ": " << result.standardOutput;
    if (fault.outputKept) {
      EXPECT_EQ(ReadFile(Out()), Earlier) << fault.name;
    }
  }
}

TEST_P(FaultInjection, DanglingOutputLinkCreatesNoDirectory) {
  WriteFile(In(), program().input);
  Link("missing/" + OutName(), Out());
  EXPECT_EQ(Run().exitCode, 3);
  EXPECT_FALSE(FileExists(dir() / "missing"));
}

// Writes past the file size limit fail with EFBIG: the bytes up to the limit are in the file.
TEST_P(FaultInjection, WriteBeyondTheFileSizeLimitFails) {
  WriteFile(In(), program().input);
  constexpr rlim_t Limit = 2;
  const auto result = Run(StandardOutput::Captured, {.fileSizeLimit = Limit});
  EXPECT_EQ(result.exitCode, 223);
  EXPECT_TRUE(IsReport(result.standardOutput, 223)) << result.standardOutput;
  EXPECT_EQ(ReadFile(Out()), std::string(program().line).substr(0, Limit));
}

// A FIFO as output is a pipe: the line reaches it when the file is closed. The test holds the
// reading end open without blocking, so the program's open finds a reader and nothing waits.
TEST_P(FaultInjection, WritesTheLineIntoAFifo) {
  WriteFile(In(), program().input);
  ASSERT_EQ(mkfifo(Out().c_str(), 0644), 0);
  const int reader = open(Out().c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const auto result = Run();
  char bytes[128];
  const ssize_t got = read(reader, bytes, sizeof bytes);
  close(reader);
  EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
  EXPECT_EQ(std::string(bytes, got > 0 ? static_cast<std::size_t>(got) : 0), program().line);
}

// A FIFO as input hands out what its writer has written so far: a short read is not the end of the
// data, only the writer's close is.
TEST_P(FaultInjection, ReadsAFifoWhoseWriterIsSlow) {
  ASSERT_EQ(mkfifo(In().c_str(), 0644), 0);
  std::thread writer([path = In(), input = std::string(program().input)] {
    int fd = -1;
    // Opening for writing without a reader fails at once; wait for the program to open its end.
    for (int attempt = 0; attempt < 10000 && fd < 0; ++attempt) {
      fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd < 0) return;
    for (std::size_t at = 0; at < input.size(); at += 2) {
      (void)!write(fd, input.data() + at, std::min<std::size_t>(2, input.size() - at));
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    close(fd);
  });
  const auto result = Run();
  writer.join();
  EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
  EXPECT_EQ(ReadFile(Out()), program().line);
}

// With descriptor 1 closed, the first data file the program opens takes it: the report must not
// land in a data file, and the exit code must still tell. A standard output whose reader has gone
// must not end the program with a signal either.
TEST_P(FaultInjection, ExitCodeIsRightWhenTheReportCannotBeWritten) {
  struct Case {
    std::string name;
    std::string input;  // empty: prepared otherwise
    int exitCode;
  };
  std::vector<Case> cases = {{"answer", program().input, 0}, {"missing input", "", 2},
                             {"read error", "", 1117 % 256}, {"full device as output", program().input, 112}};
  for (const auto& failure : program().inputFailures) cases.push_back({failure.input, failure.input, failure.code});
  for (const auto output : {StandardOutput::Closed, StandardOutput::BrokenPipe}) {
    const char* how = output == StandardOutput::Closed ? "closed" : "broken pipe";
    for (const Case& c : cases) {
      FreshDir();
      if (!c.input.empty()) WriteFile(In(), c.input);
      if (c.name == "read error") Link("/proc/self/mem", In());
      if (c.name == "full device as output") Link("/dev/full", Out());
      const auto result = Run(output);
      EXPECT_EQ(result.signal, 0) << c.name << ", " << how;
      EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ", " << how;
      struct stat status;
      if (lstat(Out().c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        EXPECT_EQ(ReadFile(Out()), program().line) << c.name << ", " << how;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, FaultInjection, ::testing::Values(Kovra, Quorl),
                         [](const auto& info) { return std::string(info.param.name); });

// The longest fixed-form line: an answer from 10^36 up to just below 2^120 has 37 integer digits,
// 19 of them significant, and the line is 50 bytes.
TEST(KovraLongestLine, WritesAllFiftyBytes) {
  TempDir dir;
  WriteFile(dir / "kovra.in", "9e11 9e11\n");
  const auto result = RunUnderFaults(KOVRA_PATH, dir.path(), StandardOutput::Captured);
  EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
  const std::string line = ReadFile(dir / "kovra.out");
  ASSERT_EQ(line.size(), 50u) << line;
  EXPECT_EQ(line[0], '1') << line;
  EXPECT_EQ(line.find_first_not_of("0123456789"), 37u) << line;
  EXPECT_EQ(line.substr(19), std::string(18, '0') + ".0000000000\r\n") << line;
}

}  // namespace

namespace {

// A row line of 100 MB: quorl keeps only the first m bytes of a row, so its memory must not grow
// with the line. The peak resident size is compared with a run on the same grid written with a
// short line; the allowance is far below the line's size and well above the noise of a run.
TEST(QuorlLongLine, MemoryIsBoundedByTheWidthNotTheLine) {
  constexpr std::size_t LineLength = 100'000'000;
  constexpr long AllowanceKilobytes = 8 * 1024;
  TempDir shortDir;
  WriteFile(shortDir / "quorl.in", "2 3\n111\n010\n");
  const auto shortRun = RunMeasuringPeakMemory(PEAK_MEMORY_RUN_PATH, QUORL_PATH, shortDir.path());
  ASSERT_EQ(shortRun.exitCode, 0) << shortRun.standardOutput;
  EXPECT_EQ(ReadFile(shortDir / "quorl.out"), "1 4\r\n");

  TempDir longDir;
  {
    std::ofstream input(longDir / "quorl.in", std::ios::binary);
    input << "2 3\n";
    const std::string piece(1 << 20, '1');
    for (std::size_t written = 0; written < LineLength; written += piece.size()) input << piece;
    input << "\n010\n";
  }
  const auto longRun = RunMeasuringPeakMemory(PEAK_MEMORY_RUN_PATH, QUORL_PATH, longDir.path());
  ASSERT_EQ(longRun.exitCode, 0) << longRun.standardOutput;
  EXPECT_EQ(ReadFile(longDir / "quorl.out"), "1 4\r\n");
  EXPECT_LT(longRun.peakResidentKilobytes, shortRun.peakResidentKilobytes + AllowanceKilobytes)
      << "short line: " << shortRun.peakResidentKilobytes << " kB";
}

}  // namespace
