#pragma once
// Running qrix-cli and the simulator server as child processes, for the command line's
// end-to-end tests: exit status, stdout and stderr, and files byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"

namespace qrix::testing {

struct CliResult {
  int status;
  std::string out, err;
};

CliResult runCli(const std::vector<std::string>& args, double seconds = 30);
// Runs qrix-cli with stderr on a terminal of its own (stdout to /dev/null); what the terminal
// showed, and the exit status.
CliResult runCliOnTerminal(const std::vector<std::string>& args);
// Runs qrix-cli with its stdout on `path` (opened for writing), or closed when `path` is
// empty; the exit status and stderr.
CliResult runCliWithStdoutOn(const std::string& path, const std::vector<std::string>& args);

// qrix-sensor-sim on a pseudo-terminal of its own.
class Simulator {
 public:
  explicit Simulator(std::vector<std::string> args = {});
  std::string log() { return process_.stderrSoFar(0.2); }
  bool sawRequest() { return log().find("request") != std::string::npos; }
  // How many requests of command `command` the simulator logged.
  int requests(int command);
  std::string device;

 private:
  ChildProcess process_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);
// The words of a parameter file with word `index` replaced.
std::string withWord(const std::string& file, int index, unsigned value);

// A scratch folder per test, removed afterwards.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::filesystem::path dir;
};

}  // namespace qrix::testing
