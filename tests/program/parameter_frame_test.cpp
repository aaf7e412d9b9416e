// Packing and unpacking of the three parameter frames into the word array: the inverse pair,
// the signed set-point in two halves, and the words and frame numbers never touched. The word
// order of the defaults is pinned by the parameter file's text.

#include <gtest/gtest.h>

#include "program/parameter.h"

namespace qrix {
namespace {

TEST(ParameterFrame, EveryWordOfEveryFrameSurvivesARoundTrip) {
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    WordArray sent{};
    for (int i = 0; i < 15; ++i) {
      sent[static_cast<size_t>(i)] = static_cast<std::uint16_t>(0x1111 * (i + 1) + frame);
    }
    ParameterRecord r;
    CopyPPtoVars(sent, frame, r);
    WordArray again{};
    CopyVarsToPP(r, frame, again);
    EXPECT_EQ(again, sent) << "frame " << frame;
  }
}

TEST(ParameterFrame, SetpointTravelsLowHalfFirstAndKeepsItsSign) {
  for (std::int32_t setpoint : {70000, -1}) {
    ParameterRecord r;
    r.sys.setpoint = setpoint;
    WordArray pp{};
    CopyVarsToPP(r, 0, pp);
    EXPECT_EQ(pp[13], static_cast<std::uint16_t>(setpoint));
    EXPECT_EQ(pp[14], static_cast<std::uint16_t>(static_cast<std::uint32_t>(setpoint) >> 16));
    ParameterRecord back;
    CopyPPtoVars(pp, 0, back);
    EXPECT_EQ(back.sys.setpoint, setpoint);
  }
}

TEST(ParameterFrame, FrameThreeChangesNothingAndWord15IsNeverTouched) {
  ParameterRecord r;
  WordArray pp;
  pp.fill(0xBEEF);
  const WordArray untouched = pp;
  CopyVarsToPP(r, 3, pp);
  CopyPPtoVars(pp, 3, r);
  EXPECT_EQ(pp, untouched);
  EXPECT_EQ(r.master.power, 500);
  CopyVarsToPP(r, 2, pp);
  EXPECT_EQ(pp[15], 0xBEEF);
}

}  // namespace
}  // namespace qrix
