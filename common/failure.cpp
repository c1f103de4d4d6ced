#include "common/failure.h"

#include "common/run_error.h"

namespace runtime {

namespace {
int recordedCode = 0;
}

void RecordFailure(int code) {
  if (code != 0) recordedCode = code;
}

int RecordedFailure() { return recordedCode; }

void ClearFailure() { recordedCode = 0; }

void Check() {
  if (recordedCode != 0) RunError(recordedCode, __builtin_return_address(0));
}

}  // namespace runtime
