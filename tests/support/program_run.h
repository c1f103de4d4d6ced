// Runs a built program in a fresh temporary directory, as a user would: its data files are plain
// files of that directory, its standard output is captured byte for byte.
#pragma once

#include <sys/resource.h>

#include <string>

namespace testing_support {

struct ProgramResult {
  int exitCode = -1;       // -1 when the program did not exit normally
  int signal = 0;          // the signal that ended it, if any
  std::string standardOutput;
};

// A directory made for one test and removed with everything in it afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

enum class StandardOutput {
  Captured,    // a pipe read by the test
  Closed,      // descriptor 1 closed: the first file the program opens takes it
  BrokenPipe,  // a pipe whose reader has already gone
};

struct RunOptions {
  StandardOutput output = StandardOutput::Captured;
  // Bytes a file may grow to; writes past it fail with EFBIG (the signal they raise is ignored).
  rlim_t fileSizeLimit = RLIM_INFINITY;
  const char* argument = nullptr;         // one argument for the program, as a launcher needs
  const char* standardError = nullptr;    // a file for standard error instead of the test's
};

// Runs program with dir as its current directory and standard input from /dev/null.
ProgramResult RunProgram(const std::string& program, const std::string& dir,
                         const RunOptions& options = {});

// The report a failed run writes: "Runtime error" with the code in four places, " at ", eight
// upper-case hexadecimal digits, a zero byte, then CR LF. True when output is exactly that.
bool IsReport(const std::string& output, int code);

}  // namespace testing_support
