#include "kovra/kovra_run.h"

#include "common/failure.h"
#include "common/standard_channels.h"
#include "kovra/real_reader.h"
#include "kovra/real_writer.h"
#include "kovra/volume_search.h"

namespace kovra {

using runtime::Check;
using runtime::Extended;
using runtime::RoundToDouble;

namespace {

void ReadShape(const char* name) {
  runtime::TextInput& input = runtime::StandardInput();
  input.Open(name);
  Check();
  // The two reals and the skip share one check: all three take place even when one has failed.
  L = ReadReal(input);
  d = ReadReal(input);
  runtime::SkipLine(input);
  Check();
  d = RoundToDouble(static_cast<Extended>(d) / 2);
  input.Close();
  Check();
}

double LargestVolume() {
  double lo = d;
  double hi = RoundToDouble(static_cast<Extended>(L) + d);
  while (!RefinePass(lo, hi)) {
  }
  return Volume(lo);
}

void WriteAnswer(const char* name, double answer) {
  runtime::TextOutput& output = runtime::StandardOutput();
  output.Create(name);
  Check();
  char text[MaxRealTextLength];
  output.Write(text, FormatWithTenDecimals(answer, text));
  output.WriteLineEnd();
  Check();
  output.Close();
  Check();
}

}  // namespace

int RunKovra(const DataFiles& files) {
  ReadShape(files.input);
  WriteAnswer(files.output, LargestVolume());
  return 0;
}

}  // namespace kovra
