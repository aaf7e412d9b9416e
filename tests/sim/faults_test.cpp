// Each switchable fault against a healthy sensor that sees the same requests
// at the same times: what is dropped, changed, added or delayed.

#include <gtest/gtest.h>

#include <algorithm>

#include "qrix/sim/sensor_pair.hpp"
#include "sim_test_support.hpp"

namespace qrix::sim {
namespace {

using test::ByteVector;
using test::request;

std::vector<Transmission> send(SensorPair& sensor, const ByteVector& bytes) {
  return sensor.receive(bytes, 2.0);
}

ByteVector healthy(const ByteVector& bytes) {
  SensorPair sensor;
  return send(sensor, bytes).at(0).bytes;
}

SensorPair withFaults(auto set) {
  Faults f;
  set(f);
  return SensorPair({}, f);
}

TEST(Faults, ASilentSensorActsOnRequestsButNeverAnswers) {
  SensorPair sensor = withFaults([](Faults& f) { f.silent = true; });
  SensorPair twin;
  EXPECT_TRUE(send(sensor, request(5)).empty());
  EXPECT_TRUE(send(sensor, request(6)).empty());
  EXPECT_FALSE(send(twin, request(5)).empty());
  EXPECT_FALSE(send(twin, request(6)).empty());
  // The teach moved the master's teach value from its default, exactly as on a healthy sensor.
  EXPECT_EQ(SensorPair().ram(1)[3], 512);
  EXPECT_EQ(sensor.ram(1), twin.ram(1));
  EXPECT_EQ(sensor.ram(2), twin.ram(2));
  EXPECT_NE(twin.ram(1)[3], 512);
  EXPECT_FALSE(sensor.hungUp());
}

TEST(Faults, AnswerEveryKthDropsTheOthersAndCountsOnlyAnsweredKinds) {
  SensorPair sensor = withFaults([](Faults& f) { f.answerEvery = 3; });
  std::vector<std::size_t> answered;
  for (std::size_t i = 1; i <= 6; ++i) {
    send(sensor, request(1, 0, {1}));  // frame writes are never answered anyway
    if (!send(sensor, request(5)).empty()) {
      answered.push_back(i);
    }
  }
  EXPECT_EQ(answered, (std::vector<std::size_t>{3, 6}));
}

TEST(Faults, WrongSyncChangesTheSyncOfFramesOnly) {
  SensorPair sensor = withFaults([](Faults& f) { f.wrongSync = true; });
  const ByteVector frame = send(sensor, request(5)).at(0).bytes;
  EXPECT_EQ(frame[0], 0x00);
  EXPECT_EQ(frame[1], 0xAB);
  const ByteVector good = healthy(request(5));
  EXPECT_TRUE(std::equal(frame.begin() + 2, frame.end(), good.begin() + 2, good.end()));
  EXPECT_EQ(send(sensor, request(9, 0, {2})).at(0).bytes, healthy(request(9, 0, {2})));
}

TEST(Faults, ShortBlockLosesTheLastByteOfDataBlocksOnly) {
  SensorPair sensor = withFaults([](Faults& f) { f.shortBlock = true; });
  const ByteVector block = send(sensor, request(9, 64, {3})).at(0).bytes;
  ByteVector expected = healthy(request(9, 64, {3}));
  expected.pop_back();
  EXPECT_EQ(block, expected);
  EXPECT_EQ(send(sensor, request(10)).at(0).bytes.size(), 36u);
}

TEST(Faults, ExtraBytesFollowACompleteAnswer) {
  SensorPair sensor = withFaults([](Faults& f) { f.extraBytes = 5; });
  const ByteVector answer = send(sensor, request(2, 1)).at(0).bytes;
  ASSERT_EQ(answer.size(), 41u);
  EXPECT_EQ(ByteVector(answer.begin(), answer.begin() + 36), healthy(request(2, 1)));
}

TEST(Faults, NoiseComesAheadOfTheAnswerAtTheConfiguredMeanRateAndRepeats) {
  auto noisy = [] { return withFaults([](Faults& f) { f.noiseBytesPerAnswer = 1.5; }); };
  SensorPair a = noisy(), b = noisy();
  std::size_t noise = 0;
  for (int i = 0; i < 200; ++i) {
    const ByteVector answer = send(a, request(10)).at(0).bytes;
    ASSERT_GE(answer.size(), 37u);
    EXPECT_EQ(ByteVector(answer.end() - 36, answer.end()), healthy(request(10)));
    EXPECT_EQ(send(b, request(10)).at(0).bytes, answer);
    noise += answer.size() - 36;
  }
  EXPECT_NEAR(noise / 200.0, 1.5, 0.25);
}

TEST(Faults, HangUpServesTheFirstRequestsThenNothingUntilAPowerCycle) {
  SensorPair sensor = withFaults([](Faults& f) { f.hangUpAfter = 2; });
  send(sensor, request(1, 0, {1}));
  EXPECT_FALSE(sensor.hungUp());
  EXPECT_EQ(send(sensor, request(5)).size(), 1u);
  EXPECT_TRUE(sensor.hungUp());
  EXPECT_TRUE(send(sensor, request(5)).empty());
  EXPECT_TRUE(send(sensor, request(10)).empty());
  EXPECT_EQ(sensor.requests().size(), 4u);
  sensor.powerCycle();
  EXPECT_EQ(send(sensor, request(5)).size(), 1u);
}

}  // namespace
}  // namespace qrix::sim
