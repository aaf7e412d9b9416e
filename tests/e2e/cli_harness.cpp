#include "cli_harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace qrix::testing {

namespace fs = std::filesystem;

namespace {

std::vector<char*> argvOf(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(QRIX_CLI_PATH)};
  for (const std::string& a : args) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  return argv;
}

int exitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readAll(int fd) {
  std::string text;
  char buf[4096];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 30000) <= 0) {
      break;
    }
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) {
      break;  // the child has gone and closed its side
    }
    text.append(buf, static_cast<std::size_t>(n));
  }
  return text;
}

}  // namespace

CliResult runCli(const std::vector<std::string>& args, double seconds) {
  ChildProcess cli(QRIX_CLI_PATH, args);
  const int status = cli.waitForExit(seconds);
  CliResult result{status, cli.stdoutSoFar(0.2), cli.stderrSoFar(0.2)};
  // The command line has no panel: a service that reached for one would say so on stderr.
  EXPECT_EQ(result.err.find("ui: "), std::string::npos) << result.err;
  return result;
}

CliResult runCliOnTerminal(const std::vector<std::string>& args) {
  int terminal = -1;
  std::vector<char*> argv = argvOf(args);
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) {
    // forkpty put stdin, stdout and stderr on the terminal; only stderr stays there.
    if (!freopen("/dev/null", "w", stdout)) {
      _exit(127);
    }
    execv(QRIX_CLI_PATH, argv.data());
    _exit(127);
  }
  const std::string shown = readAll(terminal);
  close(terminal);
  return {exitStatus(pid), "", shown};
}

CliResult runCliWithStdoutOn(const std::string& path, const std::vector<std::string>& args) {
  int err[2];
  if (pipe(err) != 0) {
    return {-1, "", "pipe"};
  }
  std::vector<char*> argv = argvOf(args);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(err[1], 2);
    close(err[0]);
    close(1);
    if (!path.empty() && open(path.c_str(), O_WRONLY) != 1) {
      _exit(127);
    }
    execv(QRIX_CLI_PATH, argv.data());
    _exit(127);
  }
  close(err[1]);
  const std::string shown = readAll(err[0]);
  close(err[0]);
  return {exitStatus(pid), "", shown};
}

Simulator::Simulator(std::vector<std::string> args) : process_(QRIX_SENSOR_SIM_PATH, args) {
  device = process_.readStdoutLine(5);
}

int Simulator::requests(int command) {
  const std::string text = log();
  const std::string key = "request cmd=" + std::to_string(command) + " ";
  int count = 0;
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    ++count;
  }
  return count;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string withWord(const std::string& file, int index, unsigned value) {
  std::string text = file;
  char line[16];
  std::snprintf(line, sizeof line, "%10u", value);
  text.replace(static_cast<std::size_t>(index) * 12, 10, line);
  return text;
}

void CliTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  dir = fs::temp_directory_path() / ("qrix-cli-e2e-" + std::to_string(getpid()) + "-" +
                                     std::string(test->name()).substr(0, 40));
  fs::create_directories(dir);
}

void CliTest::TearDown() {
  std::error_code ignored;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(dir, ignored);
}

}  // namespace qrix::testing
