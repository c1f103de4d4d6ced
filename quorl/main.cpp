#include "common/startup.h"
#include "quorl/quorl_run.h"

int main() {
  runtime::StartUp();
  return quorl::RunQuorl(quorl::StandardFiles);
}
