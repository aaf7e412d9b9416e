#include "child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace qrix::testing {

ChildProcess::ChildProcess(const std::string& path, const std::vector<std::string>& args) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) {
    throw std::runtime_error("pipe");
  }
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]);
    close(err[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& a : args) {
      argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  out_ = out[0];
  err_ = err[0];
}

ChildProcess::~ChildProcess() {
  terminate();
  if (out_ >= 0) {
    close(out_);
  }
  if (err_ >= 0) {
    close(err_);
  }
}

bool ChildProcess::readSome(int fd, std::string& into, double seconds) {
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(seconds * 1000)) <= 0) {
    return false;
  }
  char buf[4096];
  const ssize_t n = read(fd, buf, sizeof buf);
  if (n <= 0) {
    return false;
  }
  into.append(buf, static_cast<size_t>(n));
  return true;
}

std::string ChildProcess::readStdoutLine(double seconds) {
  constexpr double kStep = 0.05;
  for (double waited = 0; waited < seconds; waited += kStep) {
    const auto nl = outBuf_.find('\n');
    if (nl != std::string::npos) {
      std::string line = outBuf_.substr(0, nl);
      outBuf_.erase(0, nl + 1);
      return line;
    }
    readSome(out_, outBuf_, kStep);
  }
  return {};
}

std::string ChildProcess::stderrSoFar(double seconds) {
  while (readSome(err_, errBuf_, seconds)) {
  }
  return errBuf_;
}

std::string ChildProcess::stdoutSoFar(double seconds) {
  while (readSome(out_, outBuf_, seconds)) {
  }
  return outBuf_;
}

bool ChildProcess::reaped(int options) {
  if (pid_ <= 0) {
    return true;
  }
  int status = 0;
  if (waitpid(pid_, &status, options) != pid_) {
    return false;
  }
  // Once reaped, the pid is no longer ours to signal: it may belong to another process.
  pid_ = -1;
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return true;
}

bool ChildProcess::running() {
  return !reaped(WNOHANG);
}

int ChildProcess::waitForExit(double seconds) {
  for (double waited = 0; waited < seconds && !reaped(WNOHANG); waited += 0.05) {
    usleep(50000);
  }
  return pid_ <= 0 ? exitCode_ : -1;
}

int ChildProcess::terminate() {
  if (reaped(WNOHANG)) {
    return exitCode_;
  }
  kill(pid_, SIGTERM);
  for (int i = 0; i < 40; ++i) {
    if (reaped(WNOHANG)) {
      return exitCode_;
    }
    usleep(50000);
  }
  kill(pid_, SIGKILL);
  reaped(0);
  return exitCode_;
}

void ChildProcess::signal(int number) {
  if (pid_ > 0) {
    kill(pid_, number);
  }
}

}  // namespace qrix::testing
