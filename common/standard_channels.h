// The program's two standard text channels, bound to a data-file name before use. The runtime owns
// them so that the report can still write and close whatever a failed run left open.
#pragma once

#include "common/text_input.h"
#include "common/text_output.h"

namespace runtime {

TextInput& StandardInput();
TextOutput& StandardOutput();

// For the report: what the output buffer holds goes to its file; then both data files are closed.
void FlushOutputForReport();
void CloseDataFilesForReport();

}  // namespace runtime
