// The program's two standard text channels, bound to a data-file name before use. The runtime owns
// them so that the report can still write and close whatever a failed run left open.
#pragma once

#include "common/text_input.h"
#include "common/text_output.h"

namespace runtime {

// The names a program binds its channels to: fixed for the programs, chosen by whoever runs a
// program's flow in-process.
struct DataFiles {
  const char* input;
  const char* output;
};

TextInput& StandardInput();
TextOutput& StandardOutput();

// For the report: what the output buffer holds goes to its file; then both data files are closed.
void FlushOutputForReport();
void CloseDataFilesForReport();

}  // namespace runtime
