// The headless runtime's virtual clock and the simulated line on it: scheduled actions run in
// the pump in time order, delays run no actions, the receive notification runs only inside the
// pump, and bytes travel at 19200 baud.

#include "runtime/headless/headless_runtime.h"

#include <gtest/gtest.h>

#include "qrix/sim/sensor_pair.hpp"
#include "sim_line/sim_line_device.h"

namespace qrix {
namespace {

HeadlessRuntime makeRuntime() {
  return HeadlessRuntime([](int) { return std::optional<ui::PanelTemplate>{}; });
}

TEST(HeadlessRuntime, ScheduledActionsRunInsideThePumpInTimeOrder) {
  HeadlessRuntime rt = makeRuntime();
  std::vector<int> order;
  rt.at(0.2, [&] { order.push_back(2); });
  rt.at(0.1, [&] { order.push_back(1); });
  rt.Delay(0.5);  // a delay does not pump
  EXPECT_TRUE(order.empty());
  rt.ProcessSystemEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(HeadlessRuntime, RunUserInterfaceReturnsTheQuitCode) {
  HeadlessRuntime rt = makeRuntime();
  rt.at(1.0, [&] { rt.QuitUserInterface(7); });
  EXPECT_EQ(rt.RunUserInterface(), 7);
  EXPECT_NEAR(rt.Timer(), 1.0, 1e-9);
}

class SimLine : public ::testing::Test {
 protected:
  void SetUp() override {
    rt.serial().setPorts({{1, "/dev/ttyS0", "COM1  /dev/ttyS0"}});
    rt.serial().setOpener(
        [this](const serial::PortEntry&, const serial::OpenSettings&, serial::OpenError&) {
          return std::make_unique<serial::SimLineDevice>(sensor, [this] { return rt.Timer(); });
        });
    ASSERT_EQ(rt.serial().OpenComConfig(1, "", 19200, 0, 8, 1, 4096, 4096), 0);
  }
  void sendLineCheck() {
    std::uint8_t frame[36] = {0x00, 0x55, 0x00, 0x05};
    ASSERT_EQ(rt.serial().ComWrt(1, frame, 36), 36);
  }
  std::shared_ptr<sim::SensorPair> sensor = std::make_shared<sim::SensorPair>();
  HeadlessRuntime rt = makeRuntime();
};

TEST_F(SimLine, AnAnswerTakesTwoFramesOnTheLinePlusTheReaction) {
  sendLineCheck();
  while (rt.serial().GetInQLen(1) < 36) {
    rt.ProcessSystemEvents();
  }
  const double frame = 36 * 10.0 / 19200.0;
  EXPECT_NEAR(rt.Timer(), 2 * frame + sim::SensorPair::kDefaultReactionTime, 1e-6);
}

TEST_F(SimLine, ReceiveNotificationRunsOnlyInsideThePump) {
  int calls = 0;
  rt.serial().InstallComCallback(
      1, 0x8006, 36, 0x55,
      [&](int, int, void*) {
        ++calls;
        rt.serial().FlushInQ(1);
      },
      nullptr);
  sendLineCheck();
  rt.Delay(0.1);  // the bytes arrive while nobody pumps
  EXPECT_EQ(rt.serial().GetInQLen(1), 36);
  EXPECT_EQ(calls, 0);
  rt.ProcessSystemEvents();
  EXPECT_EQ(calls, 1);
  rt.serial().InstallComCallback(1, 0x8006, 36, 0x55, nullptr, nullptr);
  sendLineCheck();
  rt.Delay(0.1);
  rt.ProcessSystemEvents();
  EXPECT_EQ(calls, 1);  // switched off
}

TEST_F(SimLine, FlushingTheInputDropsOnlyWhatHasArrived) {
  sendLineCheck();
  rt.Delay(0.03);  // the answer has only started to arrive
  rt.serial().FlushInQ(1);
  rt.Delay(0.1);
  const int rest = rt.serial().GetInQLen(1);
  EXPECT_GT(rest, 0);
  EXPECT_LT(rest, 36);
}

}  // namespace
}  // namespace qrix
