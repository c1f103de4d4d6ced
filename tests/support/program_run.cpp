#include "tests/support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kq-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

ProgramResult RunProgram(const std::string& program, const std::string& dir,
                         bool closeStandardOutput) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    close(pipeEnds[0]);
    if (chdir(dir.c_str()) != 0) _exit(127);
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, STDIN_FILENO);
    if (closeStandardOutput) {
      close(STDOUT_FILENO);
    } else {
      dup2(pipeEnds[1], STDOUT_FILENO);
    }
    close(pipeEnds[1]);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  ProgramResult result;
  char chunk[4096];
  for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
    result.standardOutput.append(chunk, static_cast<size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

bool IsReport(const std::string& output, int code) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "Runtime error%4d at ", code);
  const std::string head(prefix);
  if (output.size() != 32 || output.compare(0, head.size(), head) != 0) return false;
  for (std::size_t i = head.size(); i < 29; ++i) {
    const char c = output[i];
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return output.compare(29, 3, std::string("\0\r\n", 3)) == 0;
}

}  // namespace testing_support
