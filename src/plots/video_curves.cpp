#include "plots/video_curves.h"

#include "plots/curve_plot.h"
#include "program/program.h"

namespace qrix {

namespace {

void plotVideo(Program& p, int graph, bool rightAxisFirst, const Line128& data,
               const Line128& threshold, const X128& x) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pHandle;
  const double top = p.st.ADCMAX;
  // The master graph sets its right axis first, the slave graph its left axis first.
  ui::Axis first = rightAxisFirst ? ui::Axis::YRight : ui::Axis::YLeft;
  ui::Axis second = rightAxisFirst ? ui::Axis::YLeft : ui::Axis::YRight;
  ui.SetAxisRange(panel, graph, first, 0.0, top);
  ui.SetAxisRange(panel, graph, second, 0.0, top);
  ui.DeleteGraphPlot(panel, graph, -1);
  plotWords(ui, panel, graph, x, data, ui::kRed, ui::kPlotStyleConnectedPoints,
            ui::kPointStyleSmallDot, ui::kLineStyleSolid);
  plotWords(ui, panel, graph, x, threshold, ui::kDarkGreen, ui::kPlotStyleConnectedPoints,
            ui::kPointStyleSmallDot, ui::kLineStyleSolid);
}

}  // namespace

void PlotVIDEOCurveA(Program& p, const Line128& data, const Line128& threshold, const X128& x) {
  plotVideo(p, ids::main::GRAPHVideoMaster, true, data, threshold, x);
}

void PlotVIDEOCurveB(Program& p, const Line128& data, const Line128& threshold, const X128& x) {
  plotVideo(p, ids::main::GRAPHVideoSlave, false, data, threshold, x);
}

}  // namespace qrix
