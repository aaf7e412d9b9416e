// The data curves: each sensor's graph draws its own buffer with its own trigger, tolerance and
// teach lines, and leaves the x-axis to the panel.

#include "plots/data_curves.h"

#include "params/panel_binding.h"
#include "plots/display_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

using DataCurves = DisplayTest;

TEST_F(DataCurves, EachSensorsGraphDrawsItsOwnBufferAndLines) {
  // Every line differs between the sensors, and the two tolerances differ from each other.
  st.parameter.master.teach = 1000;
  st.parameter.slave.teach = 2500;
  st.parameter.master.trigthd = 30;
  st.parameter.slave.trigthd = 70;
  st.parameter.sys.toleranceUP = 120;
  st.parameter.sys.toleranceLO = 45;
  SetThresholds(s.p);
  st.mvalBUFA.fill(1111);
  st.mvalBUFB.fill(2222);
  s.ui().SetAxisRange(st.pHandle, m::GRAPHDataMaster, ui::Axis::X, 0, 100);
  s.ui().SetAxisRange(st.pHandle, m::GRAPHDataSlave, ui::Axis::X, 0, 100);
  PlotDATACurveA(s.p, st.mvalBUFA, st.xArrayMVAL);
  PlotDATACurveB(s.p, st.mvalBUFB, st.xArrayMVAL);

  // trigger, upper tolerance, teach, lower tolerance, buffer: in drawing order.
  const struct {
    int graph;
    std::vector<double> levels;
  } cases[] = {{m::GRAPHDataMaster, {30, 1120, 1000, 955, 1111}},
               {m::GRAPHDataSlave, {70, 2620, 2500, 2455, 2222}}};
  for (const auto& c : cases) {
    const ui::GraphState& g = graph(c.graph);
    ASSERT_EQ(g.plots.size(), c.levels.size());
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
      EXPECT_EQ(g.plots[i].y.front(), c.levels[i]) << c.graph << " plot " << i;
      EXPECT_EQ(g.plots[i].y.back(), c.levels[i]) << c.graph << " plot " << i;
    }
    EXPECT_EQ(g.x.max, 100) << c.graph;  // the axis is the panel's, not the curve's
  }
}

}  // namespace
}  // namespace qrix::testing
