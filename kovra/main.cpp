#include "common/startup.h"
#include "kovra/kovra_run.h"

int main() {
  runtime::StartUp();
  return kovra::RunKovra(kovra::StandardFiles);
}
