// The moving object (edges move, stay on the line, both edge counts occur)
// and the timing of answer bytes on the line.

#include <gtest/gtest.h>

#include <set>

#include "qrix/sim/scene.hpp"
#include "qrix/sim/transmit_schedule.hpp"

namespace qrix::sim {
namespace {

TEST(Scene, EdgesMoveOverTimeAndStayOnTheLineForEveryLineLength) {
  for (const std::uint16_t n : {256, 2048, 3072, 4096, 8192}) {
    const Scene scene(n, 1024);
    for (const Sensor sensor : {Sensor::kMaster, Sensor::kSlave}) {
      std::set<std::uint16_t> edges, counts;
      for (double t = 0.0; t < 60.0; t += 0.25) {
        const EdgeReading r = scene.reading(sensor, Scene::scanAt(t));
        ASSERT_GE(r.edge, 1) << n;
        ASSERT_LT(r.edge, n) << n;
        ASSERT_GE(r.shadowWidth, 1) << n;
        ASSERT_LE(r.edge + r.shadowWidth, n) << n;
        edges.insert(r.edge);
        counts.insert(r.edgeCount);
      }
      EXPECT_GT(*edges.rbegin() - *edges.begin(), n / 10) << n;
      if (sensor == Sensor::kSlave) {
        EXPECT_EQ(counts, (std::set<std::uint16_t>{1, 2})) << n;
      }
    }
  }
}

TEST(Scene, MoreLightPowerGivesABrighterVideo) {
  const Scene scene(4096, 1024);
  const auto dim = scene.video(Sensor::kMaster, 0, Scene::lightLevel(100, 0));
  const auto bright = scene.video(Sensor::kMaster, 0, Scene::lightLevel(1000, 0));
  EXPECT_GT(bright[0], dim[0] + 300);
}

TEST(TransmitSchedule, PacesBytesAtTheByteTimeAfterTheReactionDelay) {
  TransmitSchedule schedule;
  schedule.add({0.002, {1, 2, 3}}, 1.0);
  EXPECT_TRUE(schedule.takeDue(1.0019).empty());
  EXPECT_EQ(schedule.takeDue(1.002), (std::vector<std::uint8_t>{1}));
  EXPECT_DOUBLE_EQ(*schedule.nextDueTime(), 1.002 + kByteTime);
  EXPECT_EQ(schedule.takeDue(1.002 + 2 * kByteTime), (std::vector<std::uint8_t>{2, 3}));
  EXPECT_TRUE(schedule.empty());
}

TEST(TransmitSchedule, AnAnswerWaitsUntilTheOneBeforeHasLeftTheLine) {
  TransmitSchedule schedule;
  schedule.add({0.0, std::vector<std::uint8_t>(36, 1)}, 0.0);
  schedule.add({0.0, {2}}, 0.001);
  EXPECT_EQ(schedule.takeDue(36 * kByteTime - 1e-9).back(), 1);
  EXPECT_EQ(schedule.takeDue(36 * kByteTime), (std::vector<std::uint8_t>{2}));
}

TEST(TransmitSchedule, WithoutPacingAWholeAnswerIsDueAtOnce) {
  TransmitSchedule schedule(false);
  schedule.add({0.5, std::vector<std::uint8_t>(128, 7)}, 0.0);
  EXPECT_EQ(schedule.takeDue(0.5).size(), 128u);
}

}  // namespace
}  // namespace qrix::sim
