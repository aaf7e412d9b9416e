#pragma once
// The signals that ask qrix-cli to end (SIGINT, SIGTERM, SIGHUP). The handler only notes the
// signal; the command decides at its next safe point what to finish first: a SEND its three
// frames, a flash transfer the frame in flight, a recording its last whole line.

namespace qrix::cli {

// Installs the handlers. A write beyond the file-size limit then fails with an error the
// program reports, instead of killing it (SIGXFSZ is ignored).
void installInterruptHandlers();
// The signal that arrived first, or 0.
int pendingInterrupt();
// The exit status for an end by that signal: 128 + its number.
inline int interruptedStatus(int signal) {
  return 128 + signal;
}
// "SIGINT", "SIGTERM", "SIGHUP".
const char* signalName(int signal);

}  // namespace qrix::cli
