// The RUN answer: its words against each other and against the settings (evaluation mode,
// scale, teach values), the teach command, and the held maximum and minimum with their reset.
// Framing, the potentiometer and the input state are met by the scope's RUN tests.

#include <gtest/gtest.h>

#include <algorithm>

#include "qrix/sim/sensor_pair.hpp"
#include "sim_test_support.hpp"

namespace qrix::sim {
namespace {

using test::answerTo;
using test::ByteVector;
using test::request;
using test::requestWithPayload;
using test::runWord;

Payload systemFrame(std::uint16_t evalMode) {
  return {evalMode, 0, 1, 1, 1, 1, 100, 100, 0, 0, 0, 0, 0, 16000, 0};
}

ByteVector runAt(SensorPair& sensor, double now, std::uint16_t evalMode = 1) {
  return answerTo(sensor, requestWithPayload(8, 0, systemFrame(evalMode)), now);
}

std::int32_t micrometresOf(const ByteVector& run) {
  return static_cast<std::int32_t>(std::uint32_t(runWord(run, 4)) << 16 | runWord(run, 3));
}

TEST(RunAnswer, MeasuredValueFollowsTheEvaluationModeTheRequestCarries) {
  SensorPair sensor;
  struct Case {
    std::uint16_t mode;
    int masterWeight, slaveWeight;
  };
  for (const Case c : {Case{0, 0, 1}, Case{1, 1, 0}, Case{2, 1, 1}, Case{3, 1, 1}, Case{4, 1, 1}}) {
    const ByteVector run = runAt(sensor, 4.0 + c.mode, c.mode);
    EXPECT_EQ(runWord(run, 2), c.masterWeight * runWord(run, 0) + c.slaveWeight * runWord(run, 1))
        << "mode " << c.mode;
    EXPECT_LE(runWord(run, 2), 2 * 4096);
    EXPECT_EQ(sensor.ram(0)[0], c.mode);
  }
}

TEST(RunAnswer, LeftoverWordsInASingleRunRequestDoNotBecomeSettings) {
  SensorPair sensor;
  const ByteVector run = answerTo(sensor, request(8, 0, {2000, 3000, 2000}), 2.0);
  EXPECT_EQ(sensor.ram(0)[0], 1);
  EXPECT_EQ(runWord(run, 2), runWord(run, 0));
}

TEST(RunAnswer, MicrometresAreTheMeasuredValueTimesTheMasterScaleSplitIntoLowAndHighHalf) {
  SensorPair sensor;
  Payload master = sensor.ram(1);
  master[11] = 0x0000;  // 1024 micrometres per pixel: the value needs the high half
  master[12] = 0x0010;
  sensor.receive(requestWithPayload(1, 1, master), 1.0);
  const ByteVector run = runAt(sensor, 2.0);
  EXPECT_NE(runWord(run, 4), 0);
  EXPECT_EQ(micrometresOf(run), runWord(run, 2) * 1024);
}

TEST(RunAnswer, AHugeScaleSaturatesInsteadOfTurningNegative) {
  SensorPair sensor;
  Payload master = sensor.ram(1);
  master[11] = master[12] = 0xFFFF;
  sensor.receive(requestWithPayload(1, 1, master), 1.0);
  EXPECT_EQ(micrometresOf(runAt(sensor, 2.0)), 0x7FFFFFFF);
}

TEST(Teach, TakesTheCurrentEdgesAsNewTeachValuesInRam) {
  SensorPair sensor;
  const ByteVector taught = answerTo(sensor, request(6, 0, {1}), 7.5);
  EXPECT_EQ(test::wordAt(taught, 2), 6);
  const ByteVector now = runAt(sensor, 7.5);
  EXPECT_EQ(sensor.ram(1)[3], runWord(now, 0));
  EXPECT_EQ(sensor.ram(2)[3], runWord(now, 1));
  const ByteVector later = runAt(sensor, 15.0);
  EXPECT_NE(runWord(later, 0), runWord(now, 0));
  EXPECT_EQ(runWord(later, 12), runWord(now, 0));
  EXPECT_EQ(runWord(later, 13), runWord(now, 1));
  EXPECT_EQ(sensor.eeprom(1)[3], 512);
}

TEST(HeldMaxMin, CoverEveryScanSinceTheResetNotOnlyTheRequestedOnes) {
  SensorPair sensor;
  answerTo(sensor, request(11), 1.0);
  std::uint16_t lowest = 0xFFFF, highest = 0;
  for (double t = 1.5; t < 30.0; t += 0.7) {
    // In mode 1 the master's history holds the measured values of the scans
    // between the requests.
    const ByteVector recent = answerTo(sensor, request(9, 64, {2}), t);
    for (std::size_t i = 0; i < 64; ++i) {
      lowest = std::min(lowest, test::wordAt(recent, 2 * i));
      highest = std::max(highest, test::wordAt(recent, 2 * i));
    }
    const ByteVector run = runAt(sensor, t);
    EXPECT_LE(runWord(run, 11), lowest);
    EXPECT_GE(runWord(run, 10), highest);
  }
  EXPECT_GT(highest - lowest, 300);  // the object really moved
}

TEST(HeldMaxMin, ResetRestartsBothFromTheCurrentValue) {
  SensorPair sensor;
  runAt(sensor, 20.0);
  EXPECT_EQ(test::wordAt(answerTo(sensor, request(11), 30.0), 2), 11);
  const ByteVector run = runAt(sensor, 30.0);
  EXPECT_EQ(runWord(run, 10), runWord(run, 2));
  EXPECT_EQ(runWord(run, 11), runWord(run, 2));
}

}  // namespace
}  // namespace qrix::sim
