#include "quorl/quorl_run.h"

#include <cstddef>

#include "common/failure.h"
#include "common/standard_channels.h"
#include "quorl/integer_reader.h"
#include "quorl/integer_writer.h"
#include "quorl/labeller.h"
#include "quorl/limits.h"
#include "quorl/row_reader.h"

namespace quorl {

using runtime::Check;

const Labeller StreamingLabeller{InitLabeller,  LoadRow,     LabelFirstRow,
                                 LabelLaterRow, RegionCount, LargestRegion};

namespace {

// rowText: the first m characters of the row read last; the rest of its line is never stored.
char rowText[MaxColumns];

struct Header {
  std::int32_t n;
  std::int32_t m;
};

Header ReadHeader(runtime::TextInput& input) {
  // The two integers and the skip share one check: all three take place even when one has failed.
  Header header;
  header.n = ReadInteger(input);
  header.m = ReadInteger(input);
  if (header.m > MaxColumns) runtime::RecordFailure(ValueOutOfRange);
  runtime::SkipLine(input);
  Check();
  return header;
}

void LabelRows(runtime::TextInput& input, const Header& header, const Labeller& labeller) {
  const std::size_t kept = header.m > 0 ? static_cast<std::size_t>(header.m) : 0;
  for (std::int64_t i = 1; i <= header.n; ++i) {
    const std::size_t length = ReadRow(input, rowText, kept);
    runtime::SkipLine(input);
    Check();
    labeller.loadRow(i == 1, {rowText, length});
    if (i == 1) {
      labeller.labelFirstRow();
    } else {
      labeller.labelLaterRow();
    }
    // Past the end of the data every row reads as empty, and once one empty row has been labelled
    // another changes nothing. Stopping here keeps a short file with a huge n from running for days.
    if (length == 0 && input.AtEndOfData()) break;
  }
}

void WriteResult(const char* name, std::int64_t regions, std::int64_t largest) {
  runtime::TextOutput& output = runtime::StandardOutput();
  output.Create(name);
  Check();
  char text[MaxIntegerTextLength];
  output.Write(text, FormatInteger(regions, text));
  output.Write(" ", 1);
  output.Write(text, FormatInteger(largest, text));
  output.WriteLineEnd();
  Check();
  output.Close();
  Check();
}

}  // namespace

int RunQuorlWith(const DataFiles& files, const Labeller& labeller) {
  runtime::TextInput& input = runtime::StandardInput();
  input.Open(files.input);
  Check();
  const Header header = ReadHeader(input);
  labeller.initLabeller(header.m);
  LabelRows(input, header, labeller);
  input.Close();
  Check();
  const std::int64_t largest = labeller.largestRegion();
  WriteResult(files.output, labeller.regionCount(), largest);
  return 0;
}

int RunQuorl(const DataFiles& files) { return RunQuorlWith(files, StreamingLabeller); }

}  // namespace quorl
