// The run-time error report and the end of the process.
//
// A failed run ends in this order: text still held for the output file is written to it, the report
// line goes to standard output, the data files are closed, and the process exits with the failure
// code modulo 256. The report line is the 29 characters
//     Runtime error 106 at 0000ABCD
// (the code right-aligned in the four characters after "Runtime error", the place as eight
// upper-case hexadecimal digits) and a zero byte, written as one write of 30 bytes, followed by a
// second write of bytes 13 and 10. Failures of both writes are ignored: the exit code still tells.
#pragma once

#include <cstdint>

namespace runtime {

constexpr int ReportLength = 30;  // 29 characters and the zero byte

// The place reported for a failure: its address relative to where the program was loaded, so the
// same failure reports the same place from run to run.
std::uint32_t PlaceOf(const void* address);

void FormatReport(int code, std::uint32_t place, char (&line)[ReportLength]);

// Safe to call from the fault handler: it uses only system calls that a signal handler may make.
[[noreturn]] void RunError(int code, const void* address);

// Normally the process exits. A caller that runs a program many times in one process (a fuzzer)
// installs a handler that leaves the run instead; it must not return.
using RunEndHandler = void (*)(int exitCode);
void SetRunEndHandler(RunEndHandler handler);
[[noreturn]] void EndProcess(int exitCode);

}  // namespace runtime
