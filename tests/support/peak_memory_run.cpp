// peak_memory_run PROGRAM: runs PROGRAM in the current directory with the same standard files,
// waits for it, writes "peak-kilobytes N" (its peak resident size) as the last line of standard
// error and exits with its exit code.
//
// A forked child starts with the parent's resident pages, and the peak the kernel reports for it
// includes them even after exec. A test process is large (tens of megabytes under the sanitizers),
// so it runs its program through this small, unsanitized launcher: the peak then shows the
// program's own memory.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 126;
  const pid_t child = fork();
  if (child < 0) return 126;
  if (child == 0) {
    execl(argv[1], argv[1], static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return 126;
  std::fprintf(stderr, "peak-kilobytes %ld\n", usage.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
