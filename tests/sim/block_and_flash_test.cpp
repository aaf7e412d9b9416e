// 64-word block reads of the four sensor buffers (video and measurement
// history, bounds included) and the external flash: clear, write, echo and
// the pages and offsets that must not be written.

#include <gtest/gtest.h>

#include <algorithm>

#include "qrix/sim/sensor_pair.hpp"
#include "sim_test_support.hpp"

namespace qrix::sim {
namespace {

using test::answerTo;
using test::ByteVector;
using test::payloadWord;
using test::request;
using test::runWord;
using test::wordAt;

std::vector<std::uint16_t> readBuffer(SensorPair& sensor, std::uint16_t buffer, double now) {
  std::vector<std::uint16_t> words;
  for (const std::uint16_t start : {0, 64}) {
    const ByteVector block = answerTo(sensor, request(9, start, {buffer}), now);
    EXPECT_EQ(block.size(), 128u);
    for (std::size_t i = 0; i < 64; ++i) {
      words.push_back(wordAt(block, 2 * i));
    }
  }
  return words;
}

TEST(BlockRead, HistoryHalvesJoinToTheEdgePositionsEndingWithTheCurrentOne) {
  SensorPair sensor;
  const ByteVector run = answerTo(sensor, request(8), 12.0);
  for (const std::uint16_t buffer : {2, 3}) {
    const auto history = readBuffer(sensor, buffer, 12.0);
    EXPECT_EQ(history.back(), runWord(run, buffer - 2)) << "buffer " << buffer;
    EXPECT_GT(*std::max_element(history.begin(), history.end()),
              *std::min_element(history.begin(), history.end()));
    EXPECT_FALSE(std::equal(history.begin(), history.begin() + 64, history.begin() + 64));
  }
}

TEST(BlockRead, VideoIsDarkInTheShadowAndBrightOutsideWithinTheConverterRange) {
  HardwareInfo hw = HardwareInfo::forCcdType(4);  // 8-bit video, 2048 virtual pixels
  SensorPair sensor(hw);
  const ByteVector run = answerTo(sensor, request(8), 5.0);
  for (const std::uint16_t buffer : {0, 1}) {
    const auto video = readBuffer(sensor, buffer, 5.0);
    const std::size_t shadowPoint =
        (runWord(run, buffer) + runWord(run, 8 + buffer) / 2) * 128 / 2048;
    const std::size_t brightPoint = runWord(run, buffer) * 128 / 2048 / 2;
    EXPECT_LT(video[shadowPoint], 40) << "buffer " << buffer;
    EXPECT_GT(video[brightPoint], 180) << "buffer " << buffer;
    EXPECT_LE(*std::max_element(video.begin(), video.end()), 255);
  }
}

TEST(BlockRead, StartsPastTheBufferAndUnknownBuffersReadZerosNotBeyondTheBuffer) {
  SensorPair sensor;
  const ByteVector tail = answerTo(sensor, request(9, 100, {2}), 3.0);
  ASSERT_EQ(tail.size(), 128u);
  EXPECT_EQ(wordAt(tail, 0), readBuffer(sensor, 2, 3.0)[100]);
  EXPECT_TRUE(std::all_of(tail.begin() + 56, tail.end(), [](auto b) { return b == 0; }));
  for (const std::uint16_t start : {0, 0xFFFF}) {
    const ByteVector unknown = answerTo(sensor, request(9, start, {7}), 3.0);
    ASSERT_EQ(unknown.size(), 128u);
    EXPECT_TRUE(std::all_of(unknown.begin(), unknown.end(), [](auto b) { return b == 0; }));
  }
}

TEST(ExternalFlash, WriteStoresEightWordsAtPageAndOffsetAndEchoesBoth) {
  SensorPair sensor;
  answerTo(sensor, request(101, 0));
  const ByteVector ack = answerTo(sensor, request(102, 248, {9, 1, 2, 3, 4, 5, 6, 7, 0x8000}));
  EXPECT_EQ(wordAt(ack, 2), 102);
  EXPECT_EQ(payloadWord(ack, 0), 248);
  EXPECT_EQ(payloadWord(ack, 1), 9);
  EXPECT_EQ(sensor.flash()[7 * 256 + 248], 1);
  EXPECT_EQ(sensor.flash()[2047], 0x8000);
  answerTo(sensor, request(102, 8, {2, 0xAAAA}));
  EXPECT_EQ(sensor.flash()[8], 0xAAAA);
}

TEST(ExternalFlash, WritesOnlyClearBitsUntilAnAnsweredClearErasesEveryWord) {
  SensorPair sensor;
  answerTo(sensor, request(102, 0, {2, 0x0F0F}));
  answerTo(sensor, request(102, 0, {2, 0x00FF}));
  EXPECT_EQ(sensor.flash()[0], 0x000F);
  EXPECT_EQ(wordAt(answerTo(sensor, request(101, 0)), 2), 101);
  EXPECT_TRUE(std::all_of(sensor.flash().begin(), sensor.flash().end(),
                          [](auto w) { return w == 0xFFFF; }));
}

TEST(ExternalFlash, PagesOutsideTwoToNineAndOffsetsPastThePageWriteNothingButAreEchoed) {
  SensorPair sensor;
  for (const auto& [page, offset] :
       {std::pair{1, 0}, std::pair{10, 0}, std::pair{0xFFFF, 0}, std::pair{9, 252}}) {
    const ByteVector ack =
        answerTo(sensor, request(102, std::uint16_t(offset), {std::uint16_t(page), 0}));
    EXPECT_EQ(payloadWord(ack, 0), offset);
    EXPECT_EQ(payloadWord(ack, 1), page);
  }
  EXPECT_TRUE(std::all_of(sensor.flash().begin(), sensor.flash().end(),
                          [](auto w) { return w == 0xFFFF; }));
}

}  // namespace
}  // namespace qrix::sim
