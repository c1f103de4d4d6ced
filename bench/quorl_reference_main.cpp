// quorl with the scanning reference labeller in place of the streaming one: the same program
// otherwise, for timing the two side by side.
#include "common/startup.h"
#include "quorl/quorl_run.h"
#include "tests/quorl_reference_labeller.h"

int main() {
  runtime::StartUp();
  return quorl::RunQuorlWith(quorl::StandardFiles, quorl_reference::ScanningLabeller);
}
