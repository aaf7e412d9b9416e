#include "plots/curve_plot.h"

#include <vector>

namespace qrix {

int plotWords(ui::UiModel& ui, int panel, int graph, const X128& x, const Line128& y,
              ui::Rgb colour, int plotStyle, int pointStyle, int lineStyle) {
  std::vector<double> xs(x.begin(), x.end());
  std::vector<double> ys(y.begin(), y.end());
  return ui.PlotXY(panel, graph, xs, ys, colour, plotStyle, pointStyle, lineStyle);
}

}  // namespace qrix
