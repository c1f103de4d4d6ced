#include "tests/support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

namespace {

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void StartChild(const std::string& program, const std::string& dir,
                             const RunOptions& options, const int pipeEnds[2]) {
  if (pipeEnds[0] >= 0) close(pipeEnds[0]);
  if (chdir(dir.c_str()) != 0) _exit(127);
  const int devNull = open("/dev/null", O_RDONLY);
  dup2(devNull, STDIN_FILENO);
  if (devNull != STDIN_FILENO) close(devNull);
  if (options.output == StandardOutput::Closed) {
    close(STDOUT_FILENO);
  } else {
    dup2(pipeEnds[1], STDOUT_FILENO);
  }
  close(pipeEnds[1]);
  if (options.standardError != nullptr) {
    const int errors = open(options.standardError, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(errors, STDERR_FILENO);
  }
  if (options.fileSizeLimit != RLIM_INFINITY) {
    signal(SIGXFSZ, SIG_IGN);  // kept across exec: the write fails with EFBIG instead
    const rlimit fileSize{options.fileSizeLimit, options.fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &fileSize);
  }
  execl(program.c_str(), program.c_str(), options.argument, static_cast<char*>(nullptr));
  _exit(127);
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::string& dir,
                         const RunOptions& options) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // The reader goes before the child starts, so the child's first write meets a pipe nobody reads.
  if (options.output == StandardOutput::BrokenPipe) {
    close(pipeEnds[0]);
    pipeEnds[0] = -1;
  }
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) StartChild(program, dir, options, pipeEnds);
  close(pipeEnds[1]);
  ProgramResult result;
  if (const int readEnd = pipeEnds[0]; readEnd >= 0) {
    char chunk[4096];
    for (ssize_t got; (got = read(readEnd, chunk, sizeof chunk)) > 0;) {
      result.standardOutput.append(chunk, static_cast<size_t>(got));
    }
    close(readEnd);
  }
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
