#include "common/startup.h"

#include <csignal>
#include <sys/ucontext.h>

#include "common/extended.h"
#include "common/failure.h"
#include "common/run_error.h"
#include "common/standard_channels.h"

namespace runtime {

namespace {

// x87 status word bits of the exceptions that trap.
constexpr unsigned InvalidFlag = 0x01;
constexpr unsigned ZeroDivideFlag = 0x04;
constexpr unsigned OverflowFlag = 0x08;

// The handler runs on a stack of its own so that even a stack overflow gets its report.
alignas(16) char faultStack[64 * 1024];

// The saved x87 state says which unmasked exception fired; the signal code is the fallback.
int FloatingPointCode(const siginfo_t* info, const ucontext_t* context) {
  if (context != nullptr && context->uc_mcontext.fpregs != nullptr) {
    const auto* fpu = context->uc_mcontext.fpregs;
    const unsigned pending = fpu->swd & ~fpu->cwd;
    if (pending & InvalidFlag) return InvalidOperation;
    if (pending & ZeroDivideFlag) return DivisionByZero;
    if (pending & OverflowFlag) return FloatingPointOverflow;
  }
  switch (info->si_code) {
    case FPE_INTDIV:
    case FPE_FLTDIV: return DivisionByZero;
    case FPE_FLTOVF: return FloatingPointOverflow;
    default: return InvalidOperation;
  }
}

void OnFault(int signal, siginfo_t* info, void* rawContext) {
  const auto* context = static_cast<const ucontext_t*>(rawContext);
  const void* place = context != nullptr
                          ? reinterpret_cast<const void*>(context->uc_mcontext.gregs[REG_RIP])
                          : info->si_addr;
  const int code = signal == SIGFPE ? FloatingPointCode(info, context) : AccessViolation;
  RunError(code, place);
}

void InstallFaultHandler() {
  stack_t faultStackInfo = {};
  faultStackInfo.ss_sp = faultStack;
  faultStackInfo.ss_size = sizeof faultStack;
  sigaltstack(&faultStackInfo, nullptr);
  struct sigaction action = {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGFPE, SIGSEGV, SIGBUS, SIGILL}) sigaction(signal, &action, nullptr);
  // A reader that went away is a refused write with an error number, not the end of the process:
  // the report, and its exit code, must still come.
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

void StartUp() {
  InstallFaultHandler();
  SetFloatingPointEnvironment();
  ClearFailure();
  CloseDataFilesForReport();
}

}  // namespace runtime
