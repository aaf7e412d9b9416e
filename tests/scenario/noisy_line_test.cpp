// A line with random bytes ahead of every answer: the frame reader drops them, so every frame
// exchange works as on a clean line, and what was dropped is counted.

#include <gtest/gtest.h>

#include "display/run_cycle.h"
#include "link/teach_reset.h"
#include "params/get_send.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

sim::Faults noisy() {
  sim::Faults f;
  f.noiseBytesPerAnswer = 3.5;
  return f;
}

TEST(NoisyLine, FrameExchangesWorkAsOnACleanLine) {
  Scope s({}, noisy());
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  EXPECT_TRUE(st.lineChecked);
  EXPECT_EQ(st.ccdvirtpixel, 4096);
  std::printf("status after start: %s\n", s.status().c_str());

  s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 432);
  s.click(st.pHandle, m::BTNSend);
  st.parameter.master.power = 1;
  s.click(st.pHandle, m::BTNGet);
  EXPECT_EQ(st.parameter.master.power, 432);
  EXPECT_EQ(s.status(), "Parameter-frame received! - Line Ok!");

  s.click(st.pHandle, m::ButtonReset);
  EXPECT_EQ(s.status(), "Reset Max/Min OK!");

  s.rt.at(s.rt.Timer() + 2.0, [&] { s.click(st.pHandle, m::BTNStop); });
  const double t0 = s.rt.Timer();
  s.click(st.pHandle, m::BTNRun);
  EXPECT_GT(s.rt.Timer() - t0, 2.0);
  std::printf("status after run: %s\n", s.status().c_str());
  std::printf("%s", st.health.summary().c_str());
  EXPECT_GT(st.health.totals().droppedBytes, 100u);
}

}  // namespace
}  // namespace qrix::testing
