// Packing and unpacking of the three parameter frames into the word array: word order, 32-bit
// halves, the untouched word 15 and frame numbers other than 0, 1, 2.

#include <gtest/gtest.h>

#include "params/parameter.h"

namespace qrix {
namespace {

std::vector<std::uint16_t> words15(const WordArray& pp) {
  return {pp.begin(), pp.begin() + 15};
}

TEST(ParameterFrame, DefaultSensorFramePacksInWordOrder) {
  WordArray pp{};
  CopyVarsToPP(ParameterRecord{}, 1, pp);
  EXPECT_EQ(words15(pp), (std::vector<std::uint16_t>{500, 1, 50, 512, 1, 4096, 0, 50, 0, 0, 0, 1024,
                                                     0, 37000, 0}));
}

TEST(ParameterFrame, DefaultSystemFramePacksInWordOrder) {
  WordArray pp{};
  CopyVarsToPP(ParameterRecord{}, 0, pp);
  EXPECT_EQ(words15(pp),
            (std::vector<std::uint16_t>{1, 0, 0, 1, 1, 1, 100, 100, 0, 0, 0, 0, 0, 16000, 0}));
}

TEST(ParameterFrame, SetpointTravelsLowHalfFirstAndKeepsItsSign) {
  ParameterRecord r;
  WordArray pp{};
  r.sys.setpoint = 70000;
  CopyVarsToPP(r, 0, pp);
  EXPECT_EQ(pp[13], 0x1170);
  EXPECT_EQ(pp[14], 0x0001);

  r.sys.setpoint = -1;
  CopyVarsToPP(r, 0, pp);
  EXPECT_EQ(pp[13], 0xFFFF);
  EXPECT_EQ(pp[14], 0xFFFF);
  ParameterRecord back;
  CopyPPtoVars(pp, 0, back);
  EXPECT_EQ(back.sys.setpoint, -1);
}

TEST(ParameterFrame, FrameThreeChangesNothingAndWord15IsNeverTouched) {
  ParameterRecord r;
  WordArray pp{};
  pp.fill(0xBEEF);
  CopyVarsToPP(r, 3, pp);
  for (std::uint16_t w : pp) EXPECT_EQ(w, 0xBEEF);

  CopyPPtoVars(pp, 3, r);
  EXPECT_EQ(r.master.power, 500);
  EXPECT_EQ(r.sys.setpoint, 16000);

  CopyVarsToPP(r, 2, pp);
  EXPECT_EQ(pp[15], 0xBEEF);
}

TEST(ParameterFrame, EveryWordOfEveryFrameSurvivesARoundTrip) {
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    WordArray sent{};
    for (int i = 0; i < 15; ++i)
      sent[static_cast<size_t>(i)] = static_cast<std::uint16_t>(0x1111 * (i + 1) + frame);
    ParameterRecord r;
    CopyPPtoVars(sent, frame, r);
    WordArray again{};
    CopyVarsToPP(r, frame, again);
    EXPECT_EQ(words15(again), words15(sent)) << "frame " << frame;
  }
}

TEST(ParameterFrame, SpareWordsOfTheSlaveFrameComeBackUnchanged) {
  WordArray received{};
  CopyVarsToPP(ParameterRecord{}, 2, received);
  received[9] = 7;
  ParameterRecord r;
  CopyPPtoVars(received, 2, r);
  EXPECT_EQ(r.slave.spare[1], 7);
  WordArray sent{};
  CopyVarsToPP(r, 2, sent);
  EXPECT_EQ(sent[9], 7);
}

}  // namespace
}  // namespace qrix
