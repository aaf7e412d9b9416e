#include "plots/data_curves.h"

#include "plots/curve_plot.h"
#include "program/program.h"

namespace qrix {

namespace {

void plotData(Program& p, int graph, const Line128& data, const X128& x, const Line128& trigger,
              const Line128& up, const Line128& ref, const Line128& lo) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pHandle;
  const double top = p.st.ccdvirtpixel;
  ui.SetAxisRange(panel, graph, ui::Axis::YRight, 0.0, top);
  ui.SetAxisRange(panel, graph, ui::Axis::YLeft, 0.0, top);
  ui.DeleteGraphPlot(panel, graph, -1);
  // Later plots lie on top: the measured curve is drawn last.
  using namespace ui;
  plotWords(ui, panel, graph, x, trigger, kGrey, kPlotStyleConnectedPoints, kPointStyleSmallDot,
            kLineStyleSolid);
  plotWords(ui, panel, graph, x, up, kDarkGreen, kPlotStyleConnectedPoints, kPointStyleSmallDot,
            kLineStyleSolid);
  plotWords(ui, panel, graph, x, ref, kBlack, kPlotStyleThinLine, kPointStyleNone, kLineStyleDash);
  plotWords(ui, panel, graph, x, lo, kDarkGreen, kPlotStyleConnectedPoints, kPointStyleNone,
            kLineStyleSolid);
  plotWords(ui, panel, graph, x, data, kRed, kPlotStyleConnectedPoints, kPointStyleSmallDot,
            kLineStyleSolid);
}

}  // namespace

void PlotDATACurveA(Program& p, const Line128& data, const X128& x) {
  const ProgramState& st = p.st;
  plotData(p, ids::main::GRAPHDataMaster, data, x, st.trgBUFA, st.upTHDA, st.refTHDA, st.loTHDA);
}

void PlotDATACurveB(Program& p, const Line128& data, const X128& x) {
  const ProgramState& st = p.st;
  plotData(p, ids::main::GRAPHDataSlave, data, x, st.trgBUFB, st.upTHDB, st.refTHDB, st.loTHDB);
}

}  // namespace qrix
