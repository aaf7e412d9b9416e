#include "plots/raw_graph.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "plots/array_shift.h"
#include "plots/axis_range.h"
#include "program/program.h"

namespace qrix {

namespace {

constexpr int kTraces = 7;
constexpr int kHistory = static_cast<int>(std::tuple_size_v<decltype(ProgramState::arrayNORM)>);
constexpr int kPointsPerScreen = 101;
constexpr int kFirstEdgeTrace = 6;  // traces 6 and 7 make the edge view, 1 to 5 the other
constexpr std::array<ui::Rgb, kTraces> kTraceColours{
    ui::kBlack, ui::kRed, ui::kRed, ui::kDarkGreen, ui::kDarkGreen, ui::kDarkGreen, ui::kBlue};

// What the analog output shows: the value itself or the held maximum or minimum. A held minimum
// at the chart's top is drawn at 1. The mode list offers only 0 to 4; any other mode shows the
// measured value.
int analogValue(const ProgramState& st) {
  switch (st.parameter.sys.anamode) {
    case 1:
    case 3: return st.anaMax;
    case 2:
    case 4: return st.anaMin == st.YAXISMAX - 1 ? 1 : st.anaMin;
    default: return st.MvalueHeld;
  }
}

struct Span {
  int low = 0;
  int high = 0;
};

// The zoomed view: around the target by twice the tolerances, or by 20 when a tolerance is too
// narrow to see; widened to take in a value outside it; kept inside the chart's full scale.
Span zoomRange(const ProgramState& st) {
  const int t = st.tVal;
  const int m = st.MvalueHeld;
  Span r;
  if (st.tollo < 20 || st.tolup < 20) {
    r = {t - 20, t + 20};
    if (m > r.high) {
      r.high = m + 40;
    }
    if (m < r.low) {
      r.low = m - 40;
    }
  } else {
    r = {t - 2 * st.tollo, t + 2 * st.tolup};
    if (m > r.high) {
      r.high = m + 100;
    }
    if (m < r.low) {
      r.low = m - 100;
    }
  }
  r.high = std::min(r.high, st.YAXISMAX - 1);
  r.low = std::max(r.low, 1);
  return r;
}

// The selector is read as a 16-bit word: only 0 selects the edge view.
bool edgeViewSelected(const ui::UiModel& ui, int panel) {
  const auto v = static_cast<long long>(ui.GetCtrlVal(panel, ids::main::RAWSelect));
  return static_cast<std::uint16_t>(v) == 0;
}

}  // namespace

void PlotRAWGraph(Program& p) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const int panel = st.pHandle;
  using ids::main::GRAPHRaw;

  const int analog = analogValue(st);

  double* history = st.arrayNORM.data();
  Shift(history, kHistory, -kTraces, history);  // drop the oldest sample

  const int upperLine = std::min(st.tVal + st.tolup, st.YAXISMAX - 1);
  const int lowerLine = std::max(st.tVal - st.tollo, 1);
  const Span zoom = zoomRange(st);
  double* newest = history + kHistory - kTraces;
  newest[0] = st.tVal;
  newest[1] = st.MvalueHeld;
  newest[2] = analog;
  newest[3] = upperLine;
  newest[4] = lowerLine;
  newest[5] = st.Aval;
  newest[6] = st.Bval;
  st.rawChartSampled = true;

  // The traces must exist before they can be shown or coloured.
  ui.SetStripTraces(panel, GRAPHRaw, kTraces);
  const bool edgeView = edgeViewSelected(ui, panel);
  ui.SetDescription(panel, GRAPHRaw,
                    edgeView ? "Raw values: the MASTER and SLAVE edge positions of the last 100 "
                               "RUN answers"
                             : "Raw values: the measured value of the last 100 RUN answers, with "
                               "its target and tolerance lines");
  for (int t = 1; t <= kTraces; ++t) {
    ui.SetTraceVisible(panel, GRAPHRaw, t, edgeView == (t >= kFirstEdgeTrace));
  }
  if (edgeView) {
    setDrawableRange(ui, panel, GRAPHRaw, ui::Axis::YLeft, 0.0, st.ccdvirtpixel);
  } else if (ui.GetCtrlVal(panel, ids::main::TOGBTN_Zoom) == 0) {
    setDrawableRange(ui, panel, GRAPHRaw, ui::Axis::YLeft, 0.0, st.YAXISMAX);
  } else {
    setDrawableRange(ui, panel, GRAPHRaw, ui::Axis::YLeft, zoom.low, zoom.high);
  }

  ui.SetStripPointsPerScreen(panel, GRAPHRaw, kPointsPerScreen);
  for (int t = 1; t <= kTraces; ++t) {
    ui.SetTraceColour(panel, GRAPHRaw, t, kTraceColours[static_cast<std::size_t>(t - 1)]);
  }

  // With 7 traces the 700 values are 100 points of each. Once the chart holds that much of every
  // trace, its tail is the history before this answer, so the answer's own sample is enough. A
  // panel made anew (a new handle) starts with an empty chart.
  if (st.rawChartPanel != panel) {
    st.rawChartPanel = panel;
    st.rawChartSamples = 0;
  }
  constexpr int kHistorySamples = kHistory / kTraces;
  if (st.rawChartSamples >= kHistorySamples) {
    if (ui.PlotStripChartPoints(panel, GRAPHRaw, newest, kTraces) == ui::kOk) {
      ++st.rawChartSamples;
    }
  } else if (ui.PlotStripChart(panel, GRAPHRaw, history, kHistory) == ui::kOk) {
    st.rawChartSamples += kHistorySamples;
  }
}

}  // namespace qrix
