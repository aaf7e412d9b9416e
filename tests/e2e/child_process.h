#pragma once
// A child program with its stdout and stderr read line by line, for end-to-end tests.

#include <sys/types.h>

#include <string>
#include <vector>

namespace qrix::testing {

class ChildProcess {
 public:
  ChildProcess(const std::string& path, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits up to `seconds` for a line on stdout; empty when none came.
  std::string readStdoutLine(double seconds);
  // Collects stderr until `done` accepts what has arrived or `seconds` pass.
  template <typename Done>
  std::string readStderrUntil(Done done, double seconds);
  std::string stderrSoFar(double seconds);
  // Whatever stdout holds beyond the lines already read, up to its end once the child exited.
  std::string stdoutSoFar(double seconds);

  bool running();
  // Waits up to `seconds` for the child to exit by itself; its exit code, -1 when it is still
  // running (or was ended by a signal).
  int waitForExit(double seconds);
  // Ends the child with SIGTERM (SIGKILL after 2 s); its exit code, -1 when it did not exit.
  int terminate();
  // Sends the child a signal and leaves it to end by itself.
  void signal(int number);

 private:
  bool readSome(int fd, std::string& into, double seconds);
  // Reaps the child if it has exited, keeping its exit code; true once it is gone.
  bool reaped(int options);
  pid_t pid_ = -1;
  int exitCode_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string outBuf_, errBuf_;
};

template <typename Done>
std::string ChildProcess::readStderrUntil(Done done, double seconds) {
  constexpr double kStep = 0.05;
  for (double waited = 0; waited < seconds && !done(errBuf_); waited += kStep) {
    readSome(err_, errBuf_, kStep);
  }
  return errBuf_;
}

}  // namespace qrix::testing
