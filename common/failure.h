// The recorded failure code and the check that acts on it.
//
// Input and output operations never stop the program themselves: a refused operation records its
// code and the program goes on, so that every read of one statement still takes place. The check
// placed after each statement ends the run with the report when a code has been recorded since the
// last check; the code recorded last is the one reported.
#pragma once

namespace runtime {

// Codes that do not come from a refused file operation.
constexpr int InvalidNumber = 106;
constexpr int FileNotOpen = 103;

void RecordFailure(int code);  // 0 records nothing
int RecordedFailure();
void ClearFailure();

// Ends the run with the report, naming the place it was called from, when a failure is recorded.
[[gnu::noinline]] void Check();

}  // namespace runtime
