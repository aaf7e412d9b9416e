// VIDEO and DATA against the simulated pair: block order, curves drawn only after a complete
// pass, the buttons' dimming, the memory target, a silent sensor and a short block.

#include "display/block_transfers.h"

#include <gtest/gtest.h>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

class BlockTransfers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(s.start(), 0);
    s.setValue(st.pHandle, m::RBTEeprom, 1);
    first = s.requests().size();
  }
  void setFaults(void (*set)(sim::Faults&)) {
    sim::Faults f;
    set(f);
    s.sensor->setFaults(f);
  }
  // (command, argument, buffer) of every request since the test began.
  std::vector<std::array<int, 3>> wire() const {
    std::vector<std::array<int, 3>> out;
    for (size_t i = first; i < s.requests().size(); ++i) {
      const auto& r = s.requests()[i];
      out.push_back({r.command, r.argument, r.command == 9 ? r.payload[0] : -1});
    }
    return out;
  }
  const ui::GraphState& graph(int id) { return s.ui().control(st.pHandle, id)->graph; }
  bool dimmed(int control) { return s.ui().IsDimmed(st.pHandle, control); }

  Scope s;
  ProgramState& st = s.p.st;
  size_t first = 0;
};

using Wire = std::vector<std::array<int, 3>>;

TEST_F(BlockTransfers, DataReadsMasterThenSlaveOnceAndDrawsFiveCurvesEach) {
  st.mvalBUFB.fill(0xFFFF);
  s.click(st.pHandle, m::BTNData);
  EXPECT_EQ(wire(), (Wire{{8, 0, -1}, {9, 0, 2}, {9, 64, 2}, {9, 0, 3}, {9, 64, 3}}));
  EXPECT_NE(st.mvalBUFB[127], 0xFFFF);
  for (int g : {m::GRAPHDataMaster, m::GRAPHDataSlave}) {
    ASSERT_EQ(graph(g).plots.size(), 5u);
    EXPECT_EQ(graph(g).plots.back().x.back(), 254);
  }
  EXPECT_EQ(graph(m::GRAPHDataSlave).plots.back().y.back(), st.mvalBUFB[127]);
  EXPECT_EQ(graph(m::GRAPHVideoMaster).x.max, st.ccdvirtpixel);
  EXPECT_EQ(st.target, 1);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, m::RBTEeprom), 0);
  for (int c : {m::BTNRun, m::BTNVideo, m::BTNData, m::ButtonTeach}) {
    EXPECT_FALSE(dimmed(c));
  }
  EXPECT_TRUE(s.ui().IsDimmed(st.pPopUp, ids::popup::BTNStartRecord));
  // The receive notification is back: a GET is answered.
  s.click(st.pHandle, m::BTNGet);
  EXPECT_EQ(s.status(), "Parameter-frame received! - Line Ok!");
}

TEST_F(BlockTransfers, DataWithAShortBlockTimesOutStoresNothingAndStopsReading) {
  setFaults([](sim::Faults& f) { f.shortBlock = true; });
  st.mvalBUFA.fill(7);
  const double t0 = s.rt.Timer();
  s.click(st.pHandle, m::BTNData);
  EXPECT_GT(s.rt.Timer() - t0, 1.5);
  EXPECT_EQ(wire(), (Wire{{8, 0, -1}, {9, 0, 2}}));
  EXPECT_EQ(std::count(st.mvalBUFA.begin(), st.mvalBUFA.end(), 7), 128);
  EXPECT_TRUE(graph(m::GRAPHDataMaster).plots.empty());
  EXPECT_EQ(s.status(), "Timeout-RS-232 while reading 64 data-words!");
  EXPECT_FALSE(dimmed(m::BTNData));
}

TEST_F(BlockTransfers, VideoRepeatsSlaveThenMasterUntilStop) {
  s.rt.at(s.rt.Timer() + 1.0, [this] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNVideo);
  const Wire w = wire();
  const Wire pass{{8, 0, -1}, {9, 0, 1}, {9, 64, 1}, {9, 0, 0}, {9, 64, 0}};
  ASSERT_GE(w.size(), 2 * pass.size());
  // STOP ends VIDEO after the pass it falls into: only whole passes go out.
  ASSERT_EQ(w.size() % pass.size(), 0u);
  for (size_t i = 0; i < w.size(); ++i) {
    EXPECT_EQ(w[i], pass[i % pass.size()]) << i;
  }
  ASSERT_EQ(graph(m::GRAPHVideoSlave).plots.size(), 2u);
  EXPECT_EQ(graph(m::GRAPHVideoSlave).plots[0].y.front(), st.adcbufB[0]);
  EXPECT_EQ(graph(m::GRAPHVideoMaster).plots[0].x.back(), 4064);
  EXPECT_TRUE(s.ui().IsVisible(st.pHandle, m::GRAPHVideoMaster));
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, m::GRAPHRaw));
  for (int c : {m::BTNRun, m::BTNVideo, m::BTNData, m::ButtonTeach}) {
    EXPECT_FALSE(dimmed(c));
  }
}

// A block that does not arrive ends its pass without drawing, not the loop.
TEST_F(BlockTransfers, VideoGoesOnAfterAPassWithAShortBlock) {
  setFaults([](sim::Faults& f) { f.shortBlock = true; });
  const std::vector<double> shown = graph(m::GRAPHVideoSlave).plots.at(0).y;
  st.adcbufB.fill(7);  // what a drawing of the stored buffer would show
  s.rt.at(s.rt.Timer() + 4.0, [this] { s.click(st.pHandle, m::BTNStop); });
  s.click(st.pHandle, m::BTNVideo);
  EXPECT_EQ(wire(), (Wire{{8, 0, -1}, {9, 0, 1}, {8, 0, -1}, {9, 0, 1}, {8, 0, -1}, {9, 0, 1}}));
  EXPECT_EQ(graph(m::GRAPHVideoSlave).plots.at(0).y, shown);
}

TEST_F(BlockTransfers, VideoWithoutSensorEndsAndLeavesDataDimmed) {
  setFaults([](sim::Faults& f) { f.silent = true; });
  s.click(st.pHandle, m::BTNVideo);
  EXPECT_EQ(wire(), (Wire{{8, 0, -1}}));
  EXPECT_EQ(s.status(), "Timeout RS232-Line!");
  for (int c : {m::BTNRun, m::BTNVideo, m::ButtonTeach}) {
    EXPECT_FALSE(dimmed(c));
  }
  EXPECT_TRUE(dimmed(m::BTNData));
}

// With the receive notification off for the blocks, an exchange started inside VIDEO or DATA
// could not see its answer and would cut the block in flight. GET, SEND, RESET, TEACH and the
// port list are refused, past the dimming too; their dimming is theirs again afterwards.
TEST_F(BlockTransfers, NoOtherExchangeStartsWhileVideoOrDataReadsBlocks) {
  const int refusedAndDimmed[] = {m::BTNGet, m::BTNSend, m::ButtonReset, m::DropDCom};
  s.ui().SetDimmed(st.pHandle, m::BTNSend, true);  // an earlier state that must come back
  for (int button : {m::BTNVideo, m::BTNData}) {
    first = s.requests().size();
    std::vector<bool> dimmedDuring;
    s.rt.at(s.rt.Timer() + 0.15, [&] {  // inside the first block read
      for (int c : refusedAndDimmed) {
        dimmedDuring.push_back(dimmed(c));
      }
      s.ui().SetCtrlVal(st.pHandle, m::DropDCom, 7);
      for (int c : refusedAndDimmed) {
        s.commitPastDimming(st.pHandle, c);
      }
      s.commitPastDimming(st.pHandle, m::ButtonTeach);
      s.click(st.pHandle, m::BTNStop);
    });
    s.click(st.pHandle, button);
    EXPECT_EQ(dimmedDuring, std::vector<bool>(4, true)) << button;
    const Wire pass = button == m::BTNVideo
                          ? Wire{{8, 0, -1}, {9, 0, 1}, {9, 64, 1}, {9, 0, 0}, {9, 64, 0}}
                          : Wire{{8, 0, -1}, {9, 0, 2}, {9, 64, 2}, {9, 0, 3}, {9, 64, 3}};
    EXPECT_EQ(wire(), pass) << button;
    EXPECT_EQ(s.status(), "Data[64] block received!") << button;
    EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, m::DropDCom), st.com);
    for (int c : {m::BTNGet, m::ButtonReset, m::DropDCom}) {
      EXPECT_FALSE(dimmed(c)) << c;
    }
    EXPECT_TRUE(dimmed(m::BTNSend));
  }
}

// STOP enables DATA while VIDEO still finishes its pass; a DATA pressed then is ignored.
TEST_F(BlockTransfers, DataPressedWhileVideoEndsIsIgnored) {
  s.rt.at(s.rt.Timer() + 0.5, [this] {
    s.click(st.pHandle, m::BTNStop);
    s.click(st.pHandle, m::BTNData);
  });
  s.click(st.pHandle, m::BTNVideo);
  // VIDEO ends its second pass whole, and no block of the measurement buffers (2, 3) is asked
  // for.
  const Wire pass{{8, 0, -1}, {9, 0, 1}, {9, 64, 1}, {9, 0, 0}, {9, 64, 0}};
  Wire twoPasses = pass;
  twoPasses.insert(twoPasses.end(), pass.begin(), pass.end());
  EXPECT_EQ(wire(), twoPasses);
}

}  // namespace
}  // namespace qrix::testing
