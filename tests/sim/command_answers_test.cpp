// Byte layouts of the answers to frame reads and writes, hardware information and firmware text,
// and which requests get no answer at all. What RAM and EEPROM keep over a power cycle is met by
// the scope's SEND test.

#include <gtest/gtest.h>

#include <string>

#include "qrix/sim/sensor_pair.hpp"
#include "sim_test_support.hpp"

namespace qrix::sim {
namespace {

using test::answerTo;
using test::ByteVector;
using test::payloadWord;
using test::request;
using test::requestWithPayload;
using test::wordAt;

constexpr Payload kEdited{7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

TEST(ParameterFrames, WritesAreNotAnsweredAndARamReadEchoesItsFrame) {
  SensorPair sensor;
  EXPECT_TRUE(sensor.receive(requestWithPayload(1, 2, kEdited), 1.0).empty());
  EXPECT_TRUE(sensor.receive(requestWithPayload(3, 1, kEdited), 1.0).empty());
  const ByteVector ram = answerTo(sensor, request(2, 2));
  EXPECT_EQ(wordAt(ram, 2), 2);  // echo
  for (std::size_t k = 0; k < 15; ++k) {
    EXPECT_EQ(payloadWord(ram, k), kEdited[k]) << k;
  }
}

TEST(ParameterFrames, AFrameNumberBeyondTwoIsNeitherWrittenNorAnswered) {
  SensorPair sensor;
  sensor.receive(requestWithPayload(1, 3, kEdited), 1.0);
  sensor.receive(requestWithPayload(3, 3, kEdited), 1.0);
  EXPECT_TRUE(answerTo(sensor, request(2, 3)).empty());
  for (std::size_t f = 0; f < 3; ++f) {
    EXPECT_NE(sensor.ram(f), kEdited);
  }
}

TEST(HardwareInfo, AnswerCarriesTheElevenWordsFromByteFourAndZerosAfter) {
  HardwareInfo hw = HardwareInfo::forCcdType(4);
  hw.pcbType = 2;
  hw.ccdVirtPixel = 3072;
  hw.softVersion = 304;
  SensorPair sensor(hw);
  const ByteVector answer = answerTo(sensor, request(10));
  ASSERT_EQ(answer.size(), 36u);
  EXPECT_EQ(wordAt(answer, 2), 10);
  const std::uint16_t expected[] = {4, 512, 3, 2, 3072, 4, 0, 511, 304, 0x2750, 256};
  for (std::size_t k = 0; k < 11; ++k) {
    EXPECT_EQ(wordAt(answer, 4 + 2 * k), expected[k]) << "word " << k;
  }
  for (std::size_t b = 26; b < 36; ++b) {
    EXPECT_EQ(answer[b], 0) << "byte " << b;
  }
}

TEST(FirmwareText, BoardZeroSendsACharacterPerWordOthersPlainTextAlwaysTerminated) {
  for (std::uint16_t pcb : {0, 1}) {
    HardwareInfo hw;
    hw.pcbType = pcb;
    SensorPair sensor(hw);
    sensor.setFirmwareText(pcb == 0 ? "V3.05" : std::string(80, 'x'));
    const ByteVector answer = answerTo(sensor, request(7));
    ASSERT_EQ(answer.size(), 72u);
    if (pcb == 0) {
      EXPECT_EQ(answer[1], 'V');
      EXPECT_EQ(answer[9], '5');
      EXPECT_EQ(answer[11], 0);
      for (std::size_t b = 0; b < 72; b += 2) {
        EXPECT_EQ(answer[b], 0) << "high byte " << b;
      }
    } else {
      EXPECT_EQ(std::string(answer.begin(), answer.begin() + 71), std::string(71, 'x'));
      EXPECT_EQ(answer[71], 0);
    }
  }
}

}  // namespace
}  // namespace qrix::sim
