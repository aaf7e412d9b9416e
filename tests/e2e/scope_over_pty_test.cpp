// The real scope binary, drawn off screen, identifies the sensor pair that the simulator server
// serves on a pseudo-terminal: the server's log shows the six start-up requests in order. A batch
// recording writes its file and reports by its exit status, and --stats adds the link counters.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "child_process.h"

namespace qrix::testing {
namespace {

std::vector<std::string> requestsIn(const std::string& log) {
  std::vector<std::string> found;
  static const std::regex request(R"(cmd=(\d+) arg=(\d+))");
  for (auto it = std::sregex_iterator(log.begin(), log.end(), request);
       it != std::sregex_iterator(); ++it) {
    found.push_back((*it)[1].str() + "/" + (*it)[2].str());
  }
  return found;
}

TEST(ScopeOverPty, IdentifiesTheSimulatedSensorOnAPseudoTerminal) {
  ChildProcess sim(QRIX_SENSOR_SIM_PATH, {});
  const std::string device = sim.readStdoutLine(5);
  ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "simulator printed '" << device << "'";

  ChildProcess scope(QRIX_SCOPE_PATH, {"--port", device});
  const std::string log =
      sim.readStderrUntil([](const std::string& s) { return requestsIn(s).size() >= 6; }, 20);
  EXPECT_EQ(requestsIn(log), (std::vector<std::string>{"5/0", "10/0", "2/0", "2/1", "2/2", "7/0"}));
  EXPECT_TRUE(scope.running()) << scope.stderrSoFar(0.1);
}

TEST(ScopeOverPty, ReportsAPortThatCannotBeOpenedAndKeepsRunning) {
  ChildProcess scope(QRIX_SCOPE_PATH, {"--port", "/dev/qrix-no-such-device"});
  const std::string err = scope.readStderrUntil(
      [](const std::string& s) { return s.find("qrix-no-such-device") != std::string::npos; }, 10);
  EXPECT_NE(err.find("qrix-no-such-device"), std::string::npos);
  EXPECT_TRUE(scope.running());
}

TEST(ScopeOverPty, BatchRecordingWritesEverySampleAndExitsWithZero) {
  ChildProcess sim(QRIX_SENSOR_SIM_PATH, {});
  const std::string device = sim.readStdoutLine(5);
  ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "simulator printed '" << device << "'";
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("qrix-e2e-" + std::to_string(getpid()) + ".dat");

  ChildProcess scope(QRIX_SCOPE_PATH, {"--port", device, "--record", file.string(),
                                       "--rec-interval", "1", "--rec-samples", "5"});
  EXPECT_EQ(scope.waitForExit(60), 0) << scope.stderrSoFar(0.1);

  std::ifstream in(file, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::filesystem::remove(file);
  static const std::regex recording(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d\r\n)"
                                    R"(Q-RIX-RECORDER-FILE: Time-Interval\[s\]: 1\r\n)"
                                    "SETPOINT-VALUE \\[\xB5m\\]: -?\\d+\r\n"
                                    "SLAVE\tMASTER\tMVAL\tMVAL\\[um\\]\tS_EDGE\tM_EDGE\r\n"
                                    R"((\d+\t\d+\t\d+\t-?\d+\t\d+\t\d+\r\n){5})");
  EXPECT_TRUE(std::regex_match(text, recording)) << text;
}

// Without a sensor there is nothing to record: an existing file keeps its content, the exit
// status is 1 and stderr says why (the open error, or the line check's text).
TEST(ScopeOverPty, BatchRecordingWithoutASensorLeavesAnExistingFileAsItWas) {
  ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--silent"});
  const std::string silentDevice = sim.readStdoutLine(5);
  ASSERT_EQ(silentDevice.rfind("/dev/", 0), 0u) << "simulator printed '" << silentDevice << "'";
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("qrix-e2e-old-" + std::to_string(getpid()));
  const struct {
    std::string port;
    const char* reason;
  } cases[] = {{"/dev/qrix-no-such-device", "No serial port found"},
               {silentDevice, "Timeout-RS-232..."}};
  for (const auto& c : cases) {
    std::ofstream(file, std::ios::binary) << "OLD DATA\r\n";
    ChildProcess scope(QRIX_SCOPE_PATH,
                       {"--port", c.port, "--record", file.string(), "--rec-samples", "5"});
    EXPECT_EQ(scope.waitForExit(60), 1) << c.port;
    const std::string err = scope.stderrSoFar(0.1);
    EXPECT_NE(err.find(c.reason), std::string::npos) << err;
    EXPECT_EQ(err.find("recording incomplete"), std::string::npos) << err;
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "OLD DATA\r\n") << c.port;
  }
  std::filesystem::remove(file);
}

// The counters come last on stderr, after the recording's own message, and only when asked.
TEST(ScopeOverPty, StatsPrintsTheLinkCountersOnExit) {
  static const std::regex counters(
      R"((^|\n)(no exchange yet|[a-zA-Z/ ]+: \d+ requests, \d+ answers, [^\n]* surplus)\n$)");
  for (bool stats : {false, true}) {
    std::vector<std::string> args = {"--port", "/dev/qrix-no-such-device", "--record",
                                     "/tmp/qrix-e2e-never-written"};
    if (stats) {
      args.push_back("--stats");
    }
    ChildProcess scope(QRIX_SCOPE_PATH, args);
    EXPECT_EQ(scope.waitForExit(60), 1) << stats;
    const std::string err = scope.stderrSoFar(0.1);
    EXPECT_NE(err.find("No serial port found"), std::string::npos) << err;
    EXPECT_EQ(std::regex_search(err, counters), stats) << err;
  }
}

TEST(ScopeOverPty, CommandLineFaultsExitWithTwoAndSayWhat) {
  ChildProcess missing(QRIX_SCOPE_PATH, {"--port"});
  EXPECT_EQ(missing.waitForExit(10), 2);
  EXPECT_NE(missing.stderrSoFar(0.1).find("--port needs a value"), std::string::npos);
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Random bytes ahead of every answer: the identification and the recording go through, and the
// link counters on stderr tell what was dropped.
TEST(ScopeOverPty, BatchRecordingWorksOnANoisyLine) {
  ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--noise"});
  const std::string device = sim.readStdoutLine(5);
  ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "simulator printed '" << device << "'";
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("qrix-e2e-noise-" + std::to_string(getpid()));
  ChildProcess scope(QRIX_SCOPE_PATH, {"--port", device, "--record", file.string(),
                                       "--rec-interval", "0", "--rec-samples", "40", "--stats"});
  EXPECT_EQ(scope.waitForExit(60), 0) << scope.stderrSoFar(0.1);
  const std::string text = readFile(file);
  std::filesystem::remove(file);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4 + 40) << text;
  const std::string err = scope.stderrSoFar(0.1);
  static const std::regex dropped(R"(RUN: \d+ requests, \d+ answers, .* ([1-9]\d*) bytes dropped)");
  EXPECT_TRUE(std::regex_search(err, dropped)) << err;
}

// The line goes away in the middle of a recording (the simulator closes the pseudo-terminal):
// the recording ends on the lost port, and the file keeps every complete line.
TEST(ScopeOverPty, BatchRecordingEndsOnALostPortWithEveryCompleteLineKept) {
  ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--hang-up-after", "30"});
  const std::string device = sim.readStdoutLine(5);
  ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "simulator printed '" << device << "'";
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("qrix-e2e-lost-" + std::to_string(getpid()));
  ChildProcess scope(QRIX_SCOPE_PATH, {"--port", device, "--record", file.string(),
                                       "--rec-interval", "0", "--rec-samples", "1000"});
  EXPECT_EQ(scope.waitForExit(60), 1);
  EXPECT_NE(scope.stderrSoFar(0.1).find("recording incomplete: Serial port lost!"),
            std::string::npos)
      << scope.stderrSoFar(0.1);
  const std::string text = readFile(file);
  std::filesystem::remove(file);
  const auto lines = std::count(text.begin(), text.end(), '\n');
  EXPECT_GT(lines, 4) << text;  // samples came before the line went away
  EXPECT_LT(lines, 4 + 30);
  EXPECT_TRUE(text.ends_with("\r\n"));
}

TEST(ScopeOverPty, VersionAndHelpOptions) {
  ChildProcess version(QRIX_SCOPE_PATH, {"--version"});
  EXPECT_NE(version.readStdoutLine(5).find("qrix-scope"), std::string::npos);
  ChildProcess help(QRIX_SCOPE_PATH, {"--help"});
  EXPECT_NE(help.readStdoutLine(5).find("--port"), std::string::npos);
}

}  // namespace
}  // namespace qrix::testing
