#include "common/run_error.h"

#include <cerrno>
#include <unistd.h>

#include "common/standard_channels.h"

extern "C" char __executable_start;  // provided by the linker: where the program image begins

namespace runtime {

namespace {

RunEndHandler runEndHandler = nullptr;

void WriteIgnoringFailure(const char* bytes, int count) {
  while (count > 0) {
    const ssize_t put = ::write(STDOUT_FILENO, bytes, static_cast<size_t>(count));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;
    bytes += put;
    count -= static_cast<int>(put);
  }
}

}  // namespace

std::uint32_t PlaceOf(const void* address) {
  const auto offset = reinterpret_cast<std::uintptr_t>(address) -
                      reinterpret_cast<std::uintptr_t>(&__executable_start);
  return static_cast<std::uint32_t>(offset);
}

void FormatReport(int code, std::uint32_t place, char (&line)[ReportLength]) {
  static constexpr char Template[ReportLength] = "Runtime error     at 00000000";
  static constexpr char HexDigits[] = "0123456789ABCDEF";
  constexpr int CodeEnd = 17;     // one past the four characters of the code
  constexpr int PlaceEnd = 29;    // one past the eight digits of the place
  for (int i = 0; i < ReportLength; ++i) line[i] = Template[i];
  unsigned value = static_cast<unsigned>(code);
  int at = CodeEnd;
  do {
    line[--at] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && at > CodeEnd - 4);
  for (int i = PlaceEnd - 1; i >= PlaceEnd - 8; --i, place >>= 4) line[i] = HexDigits[place & 15];
}

void RunError(int code, const void* address) {
  char line[ReportLength];
  FormatReport(code, PlaceOf(address), line);
  FlushOutputForReport();
  WriteIgnoringFailure(line, ReportLength);
  WriteIgnoringFailure("\r\n", 2);
  CloseDataFilesForReport();
  EndProcess(code);
}

void SetRunEndHandler(RunEndHandler handler) { runEndHandler = handler; }

void EndProcess(int exitCode) {
  if (runEndHandler != nullptr) runEndHandler(exitCode);
  ::_exit(exitCode & 0xFF);
}

}  // namespace runtime
