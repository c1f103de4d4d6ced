#include "tests/support/fault_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <string>

namespace testing_support {

namespace {

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void StartChild(const std::string& program, const std::string& dir, StandardOutput output,
                             const ChildLimits& limits, const int pipeEnds[2]) {
  if (pipeEnds[0] >= 0) close(pipeEnds[0]);
  if (chdir(dir.c_str()) != 0) _exit(127);
  const int devNull = open("/dev/null", O_RDONLY);
  dup2(devNull, STDIN_FILENO);
  if (devNull != STDIN_FILENO) close(devNull);
  if (output == StandardOutput::Closed) {
    close(STDOUT_FILENO);
  } else {
    dup2(pipeEnds[1], STDOUT_FILENO);
  }
  close(pipeEnds[1]);
  if (limits.fileSize != RLIM_INFINITY) {
    signal(SIGXFSZ, SIG_IGN);  // kept across exec: the write fails with EFBIG instead
    const rlimit fileSize{limits.fileSize, limits.fileSize};
    setrlimit(RLIMIT_FSIZE, &fileSize);
  }
  execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

}  // namespace

ProgramResult RunUnderFaults(const std::string& program, const std::string& dir,
                              StandardOutput output, ChildLimits limits) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  // The reader goes before the child starts, so the child's first write meets a pipe nobody reads.
  if (output == StandardOutput::BrokenPipe) {
    close(pipeEnds[0]);
    pipeEnds[0] = -1;
  }
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) StartChild(program, dir, output, limits, pipeEnds);
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

MeasuredRun RunMeasuringPeakMemory(const std::string& launcher, const std::string& program,
                                   const std::string& dir) {
  TempDir reportDir;
  const std::string report = reportDir / "peak";
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    close(pipeEnds[0]);
    if (chdir(dir.c_str()) != 0) _exit(127);
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, STDIN_FILENO);
    if (devNull != STDIN_FILENO) close(devNull);
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[1]);
    const int reportFd = open(report.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(reportFd, STDERR_FILENO);
    execl(launcher.c_str(), launcher.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  MeasuredRun result;
  char chunk[4096];
  for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
    result.standardOutput.append(chunk, static_cast<size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  const std::string errors = ReadFile(report);
  const std::size_t last = errors.rfind("peak-kilobytes ");
  if (last == std::string::npos) throw std::runtime_error("no peak reported: " + errors);
  result.peakResidentKilobytes = std::stol(errors.substr(last + 15));
  return result;
}

}  // namespace testing_support
