#include "plots/tolerance_window.h"

#include "program/program.h"

namespace qrix {

namespace {

constexpr double kWindowTop = 0.35;

// A negative left edge becomes 1 (a left edge of exactly 0 stays), a right edge past n is n.
WindowSpan limitEdges(int left, int right, int n) {
  if (left < 0) left = 1;
  if (right > n) right = n;
  return {static_cast<double>(left), static_cast<double>(right)};
}

}  // namespace

ToleranceWindows PlotTOLWindow(Program& p, std::uint16_t mode, std::uint16_t posA,
                               std::uint16_t posB) {
  ToleranceWindows drawn;
  const auto draw = [&p, &drawn](Program&, int graph, WindowSpan w) {
    p.ui().PlotRectangle(p.st.pHandle, graph, w.left, 0.0, w.right, kWindowTop, ui::kGreen,
                         ui::kGreen);
    (graph == ids::main::GRAPHBarMaster ? drawn.master : drawn.slave) = w;
  };
  const ProgramState& st = p.st;
  const int n = st.ccdvirtpixel;
  const int teachA = st.parameter.master.teach;
  const int teachB = st.parameter.slave.teach;
  const int up = st.tolup;
  const int lo = st.tollo;
  using ids::main::GRAPHBarMaster;
  using ids::main::GRAPHBarSlave;
  switch (mode) {
    case 0: draw(p, GRAPHBarSlave, limitEdges(teachB - lo, teachB + up, n)); break;
    case 1: draw(p, GRAPHBarMaster, limitEdges(teachA - lo, teachA + up, n)); break;
    case 2:
      // The tolerance is split between the sensors; with both edges seen, each window moves by
      // half the deviation of the current sum from the target sum.
      if (st.edcntA > 0 && st.edcntB > 0) {
        const int d = (teachA + teachB) - (posA + posB);
        const int centreA = d / 2 + posA;
        const int centreB = d / 2 + posB;
        draw(p, GRAPHBarMaster, limitEdges(centreA - lo / 2, centreA + up / 2, n));
        draw(p, GRAPHBarSlave, limitEdges(centreB - lo / 2, centreB + up / 2, n));
      } else {
        draw(p, GRAPHBarMaster, limitEdges(teachA - lo / 2, teachA + up / 2, n));
        draw(p, GRAPHBarSlave, limitEdges(teachB - lo / 2, teachB + up / 2, n));
      }
      break;
    case 3:
    case 4:
      draw(p, GRAPHBarMaster, {1.0, static_cast<double>(up)});
      draw(p, GRAPHBarSlave, {1.0, static_cast<double>(lo)});
      break;
    default: break;
  }
  return drawn;
}

}  // namespace qrix
