#include "common/standard_channels.h"

namespace runtime {

namespace {
TextInput standardInput;
TextOutput standardOutput;
}  // namespace

TextInput& StandardInput() { return standardInput; }
TextOutput& StandardOutput() { return standardOutput; }

void FlushOutputForReport() { standardOutput.FlushQuietly(); }

void CloseDataFilesForReport() {
  standardInput.CloseQuietly();
  standardOutput.CloseQuietly();
}

}  // namespace runtime
