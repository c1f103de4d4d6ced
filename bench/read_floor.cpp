// The floor for quorl's run time: reads quorl.in in the current directory in 128-byte read calls,
// as quorl must, and counts its '1' bytes, printing the count so the work cannot be skipped. No
// program that reads its input in blocks of 128 bytes can be faster.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int main() {
  const int fd = ::open("quorl.in", O_RDONLY);
  if (fd < 0) return 2;
  unsigned char buffer[128];
  long long ones = 0;
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    for (ssize_t i = 0; i < got; ++i) ones += buffer[i] == '1';
  }
  ::close(fd);
  std::printf("%lld\n", ones);
  return 0;
}
