#pragma once
// A started scope without a port, and readers for what the RUN drawings leave in the ui model.

#include <gtest/gtest.h>

#include <vector>

#include "plots/bar_graph.h"
#include "plots/raw_graph.h"
#include "program/run_values.h"
#include "support/scope_fixture.h"

namespace qrix::testing {

struct Span2 {
  double left, right;
  bool operator==(const Span2&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Span2& s) {
  return os << '[' << s.left << ", " << s.right << ']';
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.startOffline(), 0); }

  const ui::GraphState& graph(int id) { return s.ui().control(st.pHandle, id)->graph; }
  const ui::StripChartState& strip() {
    return s.ui().control(st.pHandle, ids::main::GRAPHRaw)->strip;
  }
  const ui::Control& main(int id) { return *s.ui().control(st.pHandle, id); }
  // The x extents of a graph's rectangles of one colour, in drawing order.
  std::vector<Span2> rects(int id, ui::Rgb colour) {
    std::vector<Span2> out;
    for (const ui::Plot& pl : graph(id).plots) {
      if (pl.kind == ui::Plot::Kind::Rectangle && pl.colour == colour) {
        out.push_back({pl.x1, pl.x2});
      }
    }
    return out;
  }
  // An answer's values as RUN takes them: derived once, then drawn.
  void drawBars() {
    deriveRunValues(st);
    PlotVIDEOBarGraph(s.p);
  }
  void drawRaw() {
    deriveRunValues(st);
    PlotRAWGraph(s.p);
  }
  void clearBars() {
    for (int g : {ids::main::GRAPHBarMaster, ids::main::GRAPHBarSlave}) {
      s.ui().DeleteGraphPlot(st.pHandle, g, -1);
    }
  }

  Scope s;
  ProgramState& st = s.p.st;
};

}  // namespace qrix::testing
