// The real scope binary, drawn off screen, identifies the sensor pair that the simulator server
// serves on a pseudo-terminal: the server's log shows the six start-up requests in order.

#include <gtest/gtest.h>

#include <regex>

#include "child_process.h"

namespace qrix::testing {
namespace {

std::vector<std::string> requestsIn(const std::string& log) {
  std::vector<std::string> found;
  static const std::regex request(R"(cmd=(\d+) arg=(\d+))");
  for (auto it = std::sregex_iterator(log.begin(), log.end(), request);
       it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1].str() + "/" + (*it)[2].str());
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

TEST(ScopeOverPty, VersionAndHelpOptions) {
  ChildProcess version(QRIX_SCOPE_PATH, {"--version"});
  EXPECT_NE(version.readStdoutLine(5).find("qrix-scope"), std::string::npos);
  ChildProcess help(QRIX_SCOPE_PATH, {"--help"});
  EXPECT_NE(help.readStdoutLine(5).find("--port"), std::string::npos);
}

}  // namespace
}  // namespace qrix::testing
