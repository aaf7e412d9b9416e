#include "plots/tolerance_window.h"

#include "program/program.h"

namespace qrix {

namespace {

constexpr double kWindowTop = 0.35;

// A negative left edge becomes 1 (a left edge of exactly 0 stays), a right edge past n is n.
WindowSpan limitEdges(int left, int right, int n) {
  if (left < 0) {
    left = 1;
  }
  if (right > n) {
    right = n;
  }
  return {static_cast<double>(left), static_cast<double>(right)};
}

}  // namespace

ToleranceWindows toleranceWindows(const ProgramState& st, std::uint16_t mode, std::uint16_t posA,
                                  std::uint16_t posB) {
  ToleranceWindows drawn;
  const auto draw = [&drawn](int graph, WindowSpan w) {
    (graph == ids::main::GRAPHBarMaster ? drawn.master : drawn.slave) = w;
  };
  const int n = st.ccdvirtpixel;
  const int teachA = st.parameter.master.teach;
  const int teachB = st.parameter.slave.teach;
  const int up = st.tolup;
  const int lo = st.tollo;
  using ids::main::GRAPHBarMaster;
  using ids::main::GRAPHBarSlave;
  switch (mode) {
    case 0: draw(GRAPHBarSlave, limitEdges(teachB - lo, teachB + up, n)); break;
    case 1: draw(GRAPHBarMaster, limitEdges(teachA - lo, teachA + up, n)); break;
    case 2:
      // The tolerance is split between the sensors; with both edges seen, each window moves by
      // half the deviation of the current sum from the target sum.
      if (st.edcntA > 0 && st.edcntB > 0) {
        const int d = (teachA + teachB) - (posA + posB);
        const int centreA = d / 2 + posA;
        const int centreB = d / 2 + posB;
        draw(GRAPHBarMaster, limitEdges(centreA - lo / 2, centreA + up / 2, n));
        draw(GRAPHBarSlave, limitEdges(centreB - lo / 2, centreB + up / 2, n));
      } else {
        draw(GRAPHBarMaster, limitEdges(teachA - lo / 2, teachA + up / 2, n));
        draw(GRAPHBarSlave, limitEdges(teachB - lo / 2, teachB + up / 2, n));
      }
      break;
    case 3:
    case 4:
      draw(GRAPHBarMaster, {1.0, static_cast<double>(up)});
      draw(GRAPHBarSlave, {1.0, static_cast<double>(lo)});
      break;
    default: break;
  }
  return drawn;
}

ui::UiModel::RectanglePlot toleranceRectangle(WindowSpan w) {
  return {w.left, 0.0, w.right, kWindowTop, ui::kGreen, ui::kGreen};
}

ToleranceWindows PlotTOLWindow(Program& p, std::uint16_t mode, std::uint16_t posA,
                               std::uint16_t posB) {
  const ToleranceWindows windows = toleranceWindows(p.st, mode, posA, posB);
  const auto draw = [&p](int graph, const std::optional<WindowSpan>& w) {
    if (!w) {
      return;
    }
    const ui::UiModel::RectanglePlot r = toleranceRectangle(*w);
    p.ui().PlotRectangle(p.st.pHandle, graph, r.x1, r.y1, r.x2, r.y2, r.colour, r.fillColour);
  };
  draw(ids::main::GRAPHBarMaster, windows.master);
  draw(ids::main::GRAPHBarSlave, windows.slave);
  return windows;
}

}  // namespace qrix
