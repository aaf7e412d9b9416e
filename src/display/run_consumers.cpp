#include "display/run_consumers.h"

#include <memory>

#include "plots/bar_graph.h"
#include "plots/raw_graph.h"
#include "program/program.h"

namespace qrix {

namespace {

// The bar graphs and the numbers beside them.
class BarGraphs : public RunConsumer {
 public:
  explicit BarGraphs(Program& p) : p_(p) {}
  bool take(const RunValues&) override {
    PlotVIDEOBarGraph(p_);
    return true;
  }

 private:
  Program& p_;
};

// The raw strip chart: one sample of its seven traces per answer.
class RawChart : public RunConsumer {
 public:
  explicit RawChart(Program& p) : p_(p) {}
  bool take(const RunValues&) override {
    PlotRAWGraph(p_);
    return true;
  }

 private:
  Program& p_;
};

}  // namespace

void listRunConsumers(Program& p) {
  p.run.add(std::make_unique<BarGraphs>(p));
  p.run.add(std::make_unique<RawChart>(p));
}

}  // namespace qrix
