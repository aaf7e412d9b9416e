// The scope's program on the Qt runtime over a real pseudo-terminal, reached through a fixed
// path as a USB adapter's device would be: the simulator drops the line in the middle of RUN
// (the cable pulled), the status line tells so and the link indicator turns red; a new simulator
// behind the same path (the cable plugged in again) is identified when the port is chosen again.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "child_process.h"
#include "program/panel_table.h"
#include "program/program.h"
#include "runtime/qt/qt_runtime.h"
#include "shell/startup.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;

std::string startSimulator(std::unique_ptr<ChildProcess>& sim, std::vector<std::string> args) {
  sim = std::make_unique<ChildProcess>(QRIX_SENSOR_SIM_PATH, args);
  return sim->readStdoutLine(5);
}

TEST(Replug, ALostLineIsToldAndChoosingThePortAgainIdentifiesTheSensor) {
  const fs::path link = fs::temp_directory_path() / ("qrix-replug-" + std::to_string(getpid()));
  std::unique_ptr<ChildProcess> sim;
  // The start-up's six requests, then a few of RUN.
  const std::string first = startSimulator(sim, {"--hang-up-after", "12"});
  ASSERT_EQ(first.rfind("/dev/", 0), 0u);
  fs::remove(link);
  fs::create_symlink(first, link);

  QtRuntime rt([](int id) { return panelTemplate(id); });
  rt.serial().setPorts({});
  const int port = rt.serial().addPort(link.string(), "PATH  " + link.string());
  Program p(rt);
  StartOptions options;
  options.port = port;
  ASSERT_EQ(StartUp(p, options), 0);
  ASSERT_TRUE(p.st.lineChecked);

  rt.ui().dispatch(p.st.pHandle, m::BTNRun, ui::EVENT_COMMIT);
  EXPECT_EQ(rt.ui().GetCtrlText(p.st.pHandle, m::TEXTStatus), "Serial port lost!");
  EXPECT_EQ(rt.ui().control(p.st.pHandle, m::LEDLink)->ledColour, ui::kRed);
  EXPECT_FALSE(rt.serial().isOpen(port));

  // Plugged in again behind the same path; the tool waits until the port is chosen.
  const std::string second = startSimulator(sim, {});
  ASSERT_EQ(second.rfind("/dev/", 0), 0u);
  fs::remove(link);
  fs::create_symlink(second, link);
  rt.ProcessSystemEvents();
  EXPECT_FALSE(rt.serial().isOpen(port));
  rt.ui().SetCtrlVal(p.st.pHandle, m::DropDCom, port);
  rt.ui().dispatch(p.st.pHandle, m::DropDCom, ui::EVENT_COMMIT);
  EXPECT_TRUE(p.st.lineChecked);
  EXPECT_EQ(p.st.com, port);
  EXPECT_NE(rt.ui().GetCtrlText(p.st.pHandle, m::TEXTStatus), "Serial port lost!");
  EXPECT_NE(rt.ui().control(p.st.pHandle, m::LEDLink)->ledColour, ui::kRed);
  ShutDown(p);
  fs::remove(link);
}

}  // namespace
}  // namespace qrix::testing

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
