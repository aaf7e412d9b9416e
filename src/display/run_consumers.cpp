#include "display/run_consumers.h"

#include <memory>

#include "plots/bar_graph.h"
#include "plots/raw_graph.h"
#include "program/program.h"
#include "statistics/statistics_window.h"

namespace qrix {

namespace {

// A display that draws each answer from the program's RUN values.
class Drawing : public RunConsumer {
 public:
  Drawing(Program& p, void (*draw)(Program&)) : p_(p), draw_(draw) {}
  bool take(const RunValues&) override {
    draw_(p_);
    return true;
  }

 private:
  Program& p_;
  void (*draw_)(Program&);
};

}  // namespace

void listRunConsumers(Program& p) {
  p.run.add(std::make_unique<Drawing>(p, PlotVIDEOBarGraph));  // with their numbers
  p.run.add(std::make_unique<Drawing>(p, PlotRAWGraph));
  p.run.add(makeStatisticsConsumer(p));
}

}  // namespace qrix
