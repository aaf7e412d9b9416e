// A line with random bytes ahead of every answer, and one that swallows answers: the frame
// reader drops the noise, so every frame exchange works as on a clean line, and the link health
// counts exactly what the simulator injected; a line out of step for a minute fills one line of
// the link log.

#include <gtest/gtest.h>

#include <algorithm>

#include "linearisation/xflash.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

TEST(NoisyLine, FrameExchangesWorkAndTheDroppedBytesAreTheNoise) {
  sim::Faults noisy;
  noisy.noiseBytesPerAnswer = 3.5;
  Scope s({}, noisy);
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  // The line check, the hardware information and the three frames came through the noise;
  // the firmware text, which has no sync word, may not.
  EXPECT_TRUE(st.lineChecked);
  EXPECT_EQ(st.health.counters(link::ExchangeKind::ParameterRead).answers, 3u);
  EXPECT_EQ(st.health.counters(link::ExchangeKind::HardwareInfo).answers, 1u);

  s.sensor->setFaults(noisy);  // counts the noise from here on
  const std::uint64_t droppedBefore = st.health.totals().droppedBytes;
  s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 432);
  s.click(st.pHandle, m::BTNSend);
  st.parameter.master.power = 1;
  s.click(st.pHandle, m::BTNGet);
  EXPECT_EQ(st.parameter.master.power, 432);
  EXPECT_EQ(s.status(), "Parameter-frame received! - Line Ok!");
  s.click(st.pHandle, m::ButtonTeach);
  EXPECT_EQ(st.parameter.master.teach, s.sensor->ram(1)[3]);
  s.click(st.pHandle, m::ButtonReset);
  EXPECT_EQ(s.status(), "Reset Max/Min OK!");
  const std::uint64_t runsBefore = st.health.counters(link::ExchangeKind::Run).answers;
  s.rt.at(s.rt.Timer() + 2.0, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  // At the line's pace less the noise's bytes.
  EXPECT_GT(st.health.counters(link::ExchangeKind::Run).answers - runsBefore, 45u);
  EXPECT_EQ(st.health.totals().droppedBytes - droppedBefore, s.sensor->injected().noiseBytesSent());
  EXPECT_GT(s.sensor->injected().noiseBytesSent(), 100u);
  EXPECT_EQ(st.health.state(), link::LinkState::Good);
}

// The flash frames come through the noise; the 128-byte blocks, which carry no sync word, have
// noise ahead of them and are refused as a surplus, never stored shifted by the noise's bytes.
TEST(NoisyLine, TheFlashIsWrittenAndBlocksWithNoiseAreRefusedNotShifted) {
  sim::Faults noisy;
  noisy.noiseBytesPerAnswer = 3.0;
  Scope s({}, noisy);
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  for (std::size_t i = 0; i < st.linArray.size(); ++i) {
    st.linArray[i] = static_cast<std::uint16_t>(i * 7);
  }
  EXPECT_TRUE(transferTable(s.p, kXFlashMaster).complete);
  EXPECT_EQ(s.status(), "X-FLASH Data successfully written!");
  EXPECT_TRUE(std::equal(st.linArray.begin(), st.linArray.end(), s.sensor->flash().begin()));

  st.adcbufA.fill(7);
  st.adcbufB.fill(7);
  s.rt.at(s.rt.Timer() + 1.0, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNVideo);
  EXPECT_EQ(std::count(st.adcbufB.begin(), st.adcbufB.end(), 7), 128);
  EXPECT_GT(st.health.counters(link::ExchangeKind::Block).surplusBlocks, 0u);
  EXPECT_EQ(st.health.counters(link::ExchangeKind::Block).answers, 0u);
}

TEST(NoisyLine, EverySwallowedAnswerIsOneTimeOut) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  sim::Faults sparse;
  sparse.answerEvery = 3;
  s.sensor->setFaults(sparse);
  const link::ExchangeCounters before = st.health.totals();
  for (int get = 0; get < 3; ++get) {
    s.click(st.pHandle, m::BTNGet);
  }
  s.click(st.pHandle, m::ButtonReset);
  const link::ExchangeCounters after = st.health.totals();
  EXPECT_EQ(after.requests - before.requests, 10u);
  EXPECT_EQ(after.timeouts - before.timeouts, s.sensor->injected().answersSwallowed());
  EXPECT_EQ(after.answers - before.answers, 10u - s.sensor->injected().answersSwallowed());
  // A good exchange after them: the indicator stays amber while they are among the last 100.
  s.sensor->setFaults({});
  s.click(st.pHandle, m::ButtonReset);
  EXPECT_EQ(st.health.state(), link::LinkState::Degraded);
}

// Without the sync word every RUN answer is out of step; the log keeps what came before.
TEST(NoisyLine, AMinuteOutOfStepIsOneLineOfTheLinkLog) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  const std::size_t before = st.health.events().size();
  s.sensor->setFaults({.wrongSync = true});
  s.rt.at(s.rt.Timer() + 70.0, [&] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNRun);
  const std::uint64_t outOfStep = st.health.counters(link::ExchangeKind::Run).outOfStep;
  EXPECT_GT(outOfStep, 1000u);
  ASSERT_EQ(st.health.events().size(), before + 1);
  EXPECT_TRUE(st.health.events().front().text.starts_with("opened /dev/ttyS0"));
  EXPECT_EQ(st.health.events().back().text, "RUN: out of step");
  EXPECT_EQ(st.health.events().back().count, outOfStep);
}

}  // namespace
}  // namespace qrix::testing
