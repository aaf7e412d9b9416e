// Byte layouts of the answers to the line check, frame reads and writes in
// RAM and EEPROM, hardware information and firmware text, and which requests
// get no answer at all.

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

Payload framePayload(const ByteVector& answer) {
  Payload p{};
  for (std::size_t k = 0; k < p.size(); ++k) p[k] = payloadWord(answer, k);
  return p;
}

constexpr Payload kEdited{7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

TEST(LineCheck, AnswersAFrameWithSync00AAAndTheEchoedCommand) {
  SensorPair sensor;
  const ByteVector answer = answerTo(sensor, request(5));
  ASSERT_EQ(answer.size(), 36u);
  EXPECT_EQ(answer[0], 0x00);
  EXPECT_EQ(answer[1], 0xAA);
  EXPECT_EQ(wordAt(answer, 2), 5);
}

TEST(ParameterFrames, FactoryEepromHoldsTheDefaultSettingsAndTheSlaveTeachDiffers) {
  SensorPair sensor;
  EXPECT_EQ(framePayload(answerTo(sensor, request(4, 0))),
            (Payload{1, 0, 0, 1, 1, 1, 100, 100, 0, 0, 0, 0, 0, 16000, 0}));
  EXPECT_EQ(framePayload(answerTo(sensor, request(4, 1))),
            (Payload{500, 1, 50, 512, 1, 4096, 0, 50, 0, 0, 0, 1024, 0, 37000, 0}));
  EXPECT_EQ(payloadWord(answerTo(sensor, request(4, 2)), 3), 600);
}

TEST(ParameterFrames, WritingToRamIsNotAnsweredAndLeavesTheEepromAlone) {
  SensorPair sensor;
  EXPECT_TRUE(sensor.receive(requestWithPayload(1, 2, kEdited), 1.0).empty());
  const ByteVector ram = answerTo(sensor, request(2, 2));
  EXPECT_EQ(wordAt(ram, 2), 2);
  EXPECT_EQ(framePayload(ram), kEdited);
  EXPECT_EQ(payloadWord(answerTo(sensor, request(4, 2)), 0), 500);
}

TEST(ParameterFrames, EepromWritesReachRamAtThePowerCycleWhileRamEditsAreLost) {
  SensorPair sensor;
  EXPECT_TRUE(sensor.receive(requestWithPayload(3, 1, kEdited), 1.0).empty());
  sensor.receive(requestWithPayload(1, 0, kEdited), 1.0);
  EXPECT_EQ(payloadWord(answerTo(sensor, request(2, 1)), 0), 500);
  sensor.powerCycle();
  EXPECT_EQ(framePayload(answerTo(sensor, request(2, 1))), kEdited);
  EXPECT_EQ(payloadWord(answerTo(sensor, request(2, 0)), 0), 1);
}

TEST(ParameterFrames, AFrameNumberBeyondTwoIsNeitherWrittenNorAnswered) {
  SensorPair sensor;
  sensor.receive(requestWithPayload(1, 3, kEdited), 1.0);
  sensor.receive(requestWithPayload(3, 3, kEdited), 1.0);
  EXPECT_TRUE(answerTo(sensor, request(2, 3)).empty());
  for (std::size_t f = 0; f < 3; ++f) EXPECT_NE(sensor.ram(f), kEdited);
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
  for (std::size_t k = 0; k < 11; ++k)
    EXPECT_EQ(wordAt(answer, 4 + 2 * k), expected[k]) << "word " << k;
  for (std::size_t b = 26; b < 36; ++b) EXPECT_EQ(answer[b], 0) << "byte " << b;
}

TEST(FirmwareText, BoardTypeZeroSendsOneCharacterInTheLowByteOfEachWord) {
  SensorPair sensor;
  sensor.setFirmwareText("V3.05");
  const ByteVector answer = answerTo(sensor, request(7));
  ASSERT_EQ(answer.size(), 72u);
  EXPECT_EQ(answer[1], 'V');
  EXPECT_EQ(answer[9], '5');
  for (std::size_t b = 0; b < 72; b += 2) EXPECT_EQ(answer[b], 0) << "high byte " << b;
  EXPECT_EQ(answer[11], 0);
}

TEST(FirmwareText, OtherBoardsSendThePlainTextZeroPaddedAndAlwaysTerminated) {
  HardwareInfo hw;
  hw.pcbType = 1;
  SensorPair sensor(hw);
  sensor.setFirmwareText(std::string(80, 'x'));
  const ByteVector answer = answerTo(sensor, request(7));
  ASSERT_EQ(answer.size(), 72u);
  EXPECT_EQ(std::string(answer.begin(), answer.begin() + 71), std::string(71, 'x'));
  EXPECT_EQ(answer[71], 0);
}

TEST(FirmwareText, DefaultTextNamesTheFirmwareVersionAndFitsTheWordLayout) {
  HardwareInfo hw;
  hw.softVersion = 304;
  const std::string text = SensorPair(hw).firmwareText();
  EXPECT_NE(text.find("3.04"), std::string::npos);
  EXPECT_LE(text.size(), 36u);
}

}  // namespace
}  // namespace qrix::sim
