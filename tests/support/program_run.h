// Runs a built program in a fresh temporary directory, as a user would: its data files are plain
// files of that directory, its standard output is captured byte for byte.
#pragma once

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

// Runs program with dir as its current directory. With closeStandardOutput the program starts
// with descriptor 1 closed.
ProgramResult RunProgram(const std::string& program, const std::string& dir,
                         bool closeStandardOutput = false);

// The report a failed run writes: "Runtime error" with the code in four places, " at ", eight
// upper-case hexadecimal digits, a zero byte, then CR LF. True when output is exactly that.
bool IsReport(const std::string& output, int code);

}  // namespace testing_support
