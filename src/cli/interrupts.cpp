#include "cli/interrupts.h"

#include <csignal>
#include <initializer_list>

namespace qrix::cli {

namespace {

volatile std::sig_atomic_t g_signal = 0;

extern "C" void noteSignal(int signal) {
  if (g_signal == 0) {
    g_signal = signal;
  }
}

}  // namespace

void installInterruptHandlers() {
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  // A read or wait that the signal cuts short starts again; the pump looks at the signal.
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    sigaction(signal, &action, nullptr);
  }
  std::signal(SIGXFSZ, SIG_IGN);
}

int pendingInterrupt() {
  return g_signal;
}

const char* signalName(int signal) {
  switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
  }
}

}  // namespace qrix::cli
