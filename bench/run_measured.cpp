// Runs a program several times in the current directory and prints the median wall time in
// seconds and the largest peak resident memory in kilobytes over the runs:
//   run_measured RUNS PROGRAM [ARGS...]   ->   "0.123456 1234"
// Standard output of the program is discarded. Exits with 1 when a run does not exit with 0.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: run_measured RUNS PROGRAM [ARGS...]\n", stderr);
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::vector<double> seconds;
  long peakKilobytes = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child < 0) return 1;
    if (child == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      if (null >= 0) ::dup2(null, STDOUT_FILENO);
      ::execv(argv[2], argv + 2);
      ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child) return 1;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
    seconds.push_back(std::chrono::duration<double>(end - start).count());
    peakKilobytes = std::max(peakKilobytes, usage.ru_maxrss);
  }
  std::sort(seconds.begin(), seconds.end());
  const std::size_t n = seconds.size();
  const double median = n % 2 == 1 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
  std::printf("%.6f %ld\n", median, peakKilobytes);
  return 0;
}
