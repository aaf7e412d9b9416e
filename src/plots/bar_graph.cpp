#include "plots/bar_graph.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plots/axis_range.h"
#include "plots/tolerance_window.h"
#include "program/program.h"

namespace qrix {

namespace {

constexpr double kCursorY = 0.75;
constexpr double kBarBottom = 0.25;
constexpr double kBarTop = 1.0;

using Rectangles = std::vector<ui::UiModel::RectanglePlot>;

// The zone the sensor reports, from its received (not clamped) edge position: with no edge the
// whole line is shadowed only when the position is 0; with one edge the zone runs to the line's
// end; with two or more it is the reported width.
void addZone(Rectangles& shapes, int edges, int pos, int width, int n) {
  double left = pos, right = 0;
  if (edges == 0) {
    if (pos != 0) {
      return;
    }
    left = 1.0;
    right = n;
  } else if (edges == 1) {
    right = n;
  } else {
    right = pos + width;
  }
  shapes.push_back({left, kBarBottom, right, kBarTop, ui::kRed, ui::kRed});
}

// In evaluation modes 3 and 4 the measured value spans both lines, which meet at n: past n it
// is marked on the master's line, below n on the slave's.
void markValueAcrossLines(Program& p) {
  const ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  using ids::main::GRAPHBarMaster;
  using ids::main::GRAPHBarSlave;
  const int n = st.ccdvirtpixel;
  const int panel = st.pHandle;
  if (st.Mvalue > n) {
    ui.SetCursorPointStyle(panel, GRAPHBarSlave, 2, ui::kPointStyleNoMarker);
    ui.SetCursorPointStyle(panel, GRAPHBarMaster, 2, ui::kPointStyleMarker);
    ui.SetGraphCursor(panel, GRAPHBarMaster, 2, st.MvalueHeld - n, kCursorY);
  } else if (st.Mvalue < n) {
    ui.SetCursorPointStyle(panel, GRAPHBarMaster, 2, ui::kPointStyleNoMarker);
    ui.SetCursorPointStyle(panel, GRAPHBarSlave, 2, ui::kPointStyleMarker);
    ui.SetGraphCursor(panel, GRAPHBarSlave, 2, n - st.Mvalue, kCursorY);
  } else {
    ui.SetCursorPointStyle(panel, GRAPHBarMaster, 2, ui::kPointStyleNoMarker);
    ui.SetCursorPointStyle(panel, GRAPHBarSlave, 2, ui::kPointStyleNoMarker);
  }
}

std::string whole(double v) {
  return std::to_string(std::lround(v));
}

// The bar graph in words: where its edge cursor stands and whether its tolerance window holds it.
std::string describeBar(const char* sensor, int position, const std::optional<WindowSpan>& w) {
  std::string text = std::string(sensor) + ": " + std::to_string(position) + " virtual px";
  if (!w) {
    return text + ", no tolerance window";
  }
  const bool inside = position >= w->left && position <= w->right;
  return text + (inside ? ", inside" : ", outside") + " the tolerance window " + whole(w->left) +
         " to " + whole(w->right);
}

}  // namespace

void PlotVIDEOBarGraph(Program& p) {
  const ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const int panel = st.pHandle;
  using namespace ids::main;

  ui.SetCtrlVal(panel, NUMBval, st.Bval);
  ui.SetCtrlVal(panel, NUMAval, st.Aval);
  ui.SetCtrlVal(panel, NUMMvalue, st.Mvalue);
  ui.SetCtrlVal(st.pPara1, ids::sensor::NUMTeach, st.parameter.master.teach);
  ui.SetCtrlVal(st.pPara2, ids::sensor::NUMTeach, st.parameter.slave.teach);
  ui.SetCtrlVal(panel, NUMAnaMax, st.anaMax);
  ui.SetCtrlVal(panel, NUMAnaMin, st.anaMin);

  // The band's bounds belong to it; a lower bound below 0 leaves nothing below the band.
  const int upper = st.tVal + st.tolup;
  const int lower = st.tVal - st.tollo;
  const ui::Rgb band = st.Mvalue > upper || st.Mvalue < lower ? ui::kRed : ui::kDarkGreen;
  ui.SetBackColour(panel, NUMValueMM, band);
  ui.SetBackColour(panel, NUMMvalue, band);

  ui.SetCtrlVal(panel, NUMValueMM, st.umValue / 1000.0);
  // Both tolerance displays use the master's scale, whatever the evaluation mode.
  const double scale = st.parameter.master.scale;
  ui.SetCtrlVal(panel, NUMTolUpMM, scale * st.tolup / 1024000.0);
  ui.SetCtrlVal(panel, NUMTolLoMM, scale * st.tollo / 1024000.0);

  const std::uint16_t n = st.ccdvirtpixel;

  for (int graph : {GRAPHBarMaster, GRAPHBarSlave}) {
    setDrawableRange(ui, panel, graph, ui::Axis::X, 0.0, n);
    ui.SetAxisRange(panel, graph, ui::Axis::YLeft, 0.0, 1.0);
  }
  ui.SetGraphCursor(panel, GRAPHBarMaster, 1, st.curposA, kCursorY);
  ui.SetGraphCursor(panel, GRAPHBarSlave, 1, st.curposB, kCursorY);
  ui.SetGraphCursor(panel, GRAPHBarMaster, 2, st.curposA, kCursorY);
  ui.SetGraphCursor(panel, GRAPHBarSlave, 2, st.curposB, kCursorY);

  if (st.parameter.sys.evalmode == 3 || st.parameter.sys.evalmode == 4) {
    markValueAcrossLines(p);
  }

  // Each graph holds its zone under its tolerance window and nothing else. From one answer to
  // the next they mostly move, and the model moves them where they stand.
  const ToleranceWindows windows =
      toleranceWindows(st, st.parameter.sys.evalmode, st.curposA, st.curposB);
  Rectangles master, slave;
  addZone(master, st.edcntA, st.Aval, st.peakwA, n);
  addZone(slave, st.edcntB, st.Bval, st.peakwB, n);
  if (windows.master) {
    master.push_back(toleranceRectangle(*windows.master));
  }
  if (windows.slave) {
    slave.push_back(toleranceRectangle(*windows.slave));
  }
  ui.SetGraphRectangles(panel, GRAPHBarMaster, master);
  ui.SetGraphRectangles(panel, GRAPHBarSlave, slave);
  // Only a changed text reaches the view, which reads it out at a limited rate.
  ui.SetDescription(panel, GRAPHBarMaster, describeBar("MASTER", st.curposA, windows.master));
  ui.SetDescription(panel, GRAPHBarSlave, describeBar("SLAVE", st.curposB, windows.slave));
}

}  // namespace qrix
