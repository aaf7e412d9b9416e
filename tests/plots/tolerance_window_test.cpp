// The tolerance windows along the bottom of the bar graphs: which graph gets a window in each
// evaluation mode, the edge limits, and the split of the tolerance in mode 2.

#include "plots/tolerance_window.h"

#include "plots/display_fixture.h"

namespace qrix::testing {
namespace {

using Windows = std::vector<Span2>;
using ToleranceWindow = DisplayTest;

TEST_F(ToleranceWindow, FollowsTheModeTheTeachValuesAndTheEdges) {
  struct Case {
    std::uint16_t mode, teachA, teachB, lo, up, posA, posB, slaveEdges;
    Windows master, slave;
  };
  const Case cases[] = {
      // Before the first RUN answer the tolerances are 0: a window without width.
      {0, 1000, 700, 0, 0, 0, 0, 1, {}, {{700, 700}}},
      {0, 1000, 2000, 100, 50, 0, 0, 1, {}, {{1900, 2050}}},
      // A negative left edge becomes 1, a right edge past the line its end.
      {1, 30, 0, 50, 0, 0, 0, 1, {{1, 30}}, {}},
      {1, 30, 0, 30, 0, 0, 0, 1, {{0, 30}}, {}},
      {1, 4090, 0, 0, 20, 0, 0, 1, {{4090, 4096}}, {}},
      // Each window moves by half the deviation, d = 20; then d = -3, whose half is -1, not -2.
      {2, 1000, 1200, 40, 40, 990, 1190, 1, {{980, 1020}}, {{1180, 1220}}},
      {2, 1000, 1000, 40, 40, 1002, 1001, 1, {{981, 1021}}, {{980, 1020}}},
      // Without a slave edge both centre on the teach values.
      {2, 1000, 1200, 40, 60, 500, 800, 0, {{980, 1030}}, {{1180, 1230}}},
      {3, 0, 0, 40, 25, 3000, 3000, 1, {{1, 25}}, {{1, 40}}},
      {4, 0, 0, 40, 25, 3000, 3000, 1, {{1, 25}}, {{1, 40}}},
      {5, 0, 0, 40, 25, 3000, 3000, 1, {}, {}},
  };
  EXPECT_EQ(st.tolup + st.tollo, 0);
  for (const Case& c : cases) {
    clearBars();
    st.parameter.master.teach = c.teachA;
    st.parameter.slave.teach = c.teachB;
    st.tollo = c.lo;
    st.tolup = c.up;
    st.edcntA = 1;
    st.edcntB = c.slaveEdges;
    PlotTOLWindow(s.p, c.mode, c.posA, c.posB);
    EXPECT_EQ(rects(ids::main::GRAPHBarMaster, ui::kGreen), c.master) << c.mode << " " << c.teachA;
    EXPECT_EQ(rects(ids::main::GRAPHBarSlave, ui::kGreen), c.slave) << c.mode << " " << c.teachB;
  }
}

}  // namespace
}  // namespace qrix::testing
