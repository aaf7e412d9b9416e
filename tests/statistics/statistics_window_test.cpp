// The statistics window on the headless runtime against the simulated pair: the live figures of
// the RUN answers, at most five updates a second, a span of the last answers, Reset, a
// recording instead of the live answers with limits typed in the window, a refused edit of the
// live limits, and the Q-DAS export of what the window holds.

#include "statistics/statistics_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace t = ids::statistics;
namespace m = ids::main;
namespace fs = std::filesystem;

// Every RUN answer the stream carried, as the test sees it.
class Collector : public RunConsumer {
 public:
  bool take(const RunValues& v) override {
    values.push_back(v);
    return true;
  }
  std::vector<RunValues> values;
};

// Counts the changes of one control's text.
class TextChanges : public ui::UiObserver {
 public:
  TextChanges(int panel, int control) : panel_(panel), control_(control) {}
  void panelLoaded(int) override {}
  void panelDiscarded(int) override {}
  void changed(int panel, int control, ui::Aspect aspect) override {
    count += panel == panel_ && control == control_ && aspect == ui::Aspect::Value;
  }
  int count = 0;

 private:
  int panel_, control_;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class StatisticsWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.start(), 0); }
  ~StatisticsWindow() override {
    fs::remove(recording);
    fs::remove(exported);
  }

  // RUN for `seconds` of the virtual clock, the answers collected beside the window.
  void run(double seconds) {
    const RunStream::Listening listening = s.p.run.listen(collector);
    s.rt.at(s.rt.Timer() + seconds, [&] { s.click(st.pHandle, m::BTNStop); });
    s.click(st.pHandle, m::BTNRun);
  }
  std::string figures() { return s.ui().GetCtrlText(st.pStatistics, t::TEXTStatFigures); }
  std::string state() { return s.ui().GetCtrlText(st.pStatistics, t::TEXTStatState); }
  // Line n of the figures, from 0.
  std::string line(int n) {
    std::istringstream in(figures());
    std::string l;
    for (int i = 0; i <= n; ++i) {
      std::getline(in, l);
    }
    return l;
  }
  void setLimit(int control, double value) {
    s.ui().SetCtrlVal(st.pStatistics, control, value);
    // Past any dimming: a refused change must be refused by the callback too.
    const ui::Callback* fn =
        s.rt.callbacks().find(s.ui().control(st.pStatistics, control)->callback);
    ASSERT_NE(fn, nullptr);
    (*fn)(st.pStatistics, control, ui::EVENT_VAL_CHANGED, 0, 0);
  }
  void open(const fs::path& path) {
    s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, path.string()});
    s.commit(st.pStatistics, t::BTNStatOpen);
  }

  Scope s;
  ProgramState& st = s.p.st;
  Collector collector;
  const std::string id = std::to_string(processId());
  fs::path recording = fs::temp_directory_path() / ("qrix-stat-" + id + ".dat");
  fs::path exported = fs::temp_directory_path() / ("qrix-stat-" + id + ".dfq");
};

TEST_F(StatisticsWindow, LiveFiguresCountEveryAnswerAgainstItsOwnWindowFiveTimesASecondAtMost) {
  // The set-points where the edges are now: the shadow's movement then crosses the window.
  s.click(st.pHandle, m::ButtonTeach);
  s.click(st.pHandle, m::BTNStatistics);
  TextChanges changes(st.pStatistics, t::TEXTStatFigures);
  s.ui().setObserver(&changes);
  run(5.0);
  s.ui().setObserver(nullptr);
  const std::vector<RunValues>& v = collector.values;
  ASSERT_GT(v.size(), 120u);
  std::uint64_t inside = 0, above = 0, below = 0;
  for (const RunValues& r : v) {
    const int value = r.answer.Mvalue;
    above += value > r.tVal + r.tolup;
    below += value < r.tVal - r.tollo;
  }
  inside = v.size() - above - below;
  ASSERT_GT(inside, 0u);
  ASSERT_GT(above + below, 0u);
  char counters[160];
  std::snprintf(counters, sizeof counters,
                "Since the start of RUN: %zu answers, %llu inside, %llu above, %llu below, yield "
                "%.2f %%",
                v.size(), static_cast<unsigned long long>(inside),
                static_cast<unsigned long long>(above), static_cast<unsigned long long>(below),
                100.0 * static_cast<double>(inside) / static_cast<double>(v.size()));
  EXPECT_EQ(line(7), counters);
  const auto [minA, maxA] = std::minmax_element(
      v.begin(), v.end(), [](auto& a, auto& b) { return a.answer.Aval < b.answer.Aval; });
  const auto [minB, maxB] = std::minmax_element(
      v.begin(), v.end(), [](auto& a, auto& b) { return a.answer.Bval < b.answer.Bval; });
  std::istringstream master(line(3).substr(12)), slave(line(4).substr(12));
  std::uint64_t n = 0;
  double mean = 0, sd = 0;
  int min = 0, max = 0;
  master >> n >> mean >> sd >> min >> max;
  EXPECT_EQ(n, v.size());
  EXPECT_EQ(min, minA->answer.Aval);
  EXPECT_EQ(max, maxA->answer.Aval);
  slave >> n >> mean >> sd >> min >> max;
  EXPECT_EQ(min, minB->answer.Bval);
  EXPECT_EQ(max, maxB->answer.Bval);
  // Five seconds of answers, shown at most five times a second (and once more at the end).
  EXPECT_LE(changes.count, 27);
  EXPECT_GE(changes.count, 15);
  // The live limits are the RUN answers' own: an edit of the dimmed field is refused.
  const std::string capability = line(6);
  const double lower = s.ui().GetCtrlVal(st.pStatistics, t::NUMStatLower);
  EXPECT_EQ(lower, v.back().tVal - v.back().tollo);
  setLimit(t::NUMStatLower, lower - 100);
  EXPECT_EQ(line(6), capability);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pStatistics, t::NUMStatLower), lower);
  // The last hundred only.
  s.ui().SetCtrlVal(st.pStatistics, t::RINGStatSpan, 1);
  s.ui().dispatch(st.pStatistics, t::RINGStatSpan, ui::EVENT_VAL_CHANGED);
  std::istringstream last(line(1).substr(12));
  last >> n;
  EXPECT_EQ(n, 100u);
  EXPECT_NE(s.ui().control(st.pStatistics, t::GRAPHStatHistogram)->description.find("100 answers"),
            std::string::npos);

  // A new RUN starts the counters again; the figures go on over all answers since the reset.
  const std::size_t first = v.size();
  s.ui().SetCtrlVal(st.pStatistics, t::RINGStatSpan, 0);
  run(1.0);
  const std::size_t second = collector.values.size() - first;
  EXPECT_EQ(line(7).rfind("Since the start of RUN: " + std::to_string(second) + " answers, ", 0),
            0u)
      << line(7);
  std::istringstream all(line(1).substr(12));
  all >> n;
  EXPECT_EQ(n, first + second);
}

TEST_F(StatisticsWindow, ARecordingWithTypedLimitsReplacesTheLiveFiguresUntilReset) {
  s.click(st.pHandle, m::BTNStatistics);
  EXPECT_EQ(line(6), "Cp -  Cpk -  (no tolerance window yet)");
  {
    std::ofstream out(recording, std::ios::binary);
    out << "03-14-2026 15:09:26\r\nQ-RIX-RECORDER-FILE: Time-Interval[s]: 2\r\n"
           "SETPOINT-VALUE [\xB5m]: 16000\r\nSLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n"
           "1001\t2001\t100\t-100\t2\t1\r\n1002\t2002\t110\t-110\t2\t1\r\n"
           "1003\t2003\t120\t-120\t2\t1\r\n1004\t2004\t130\t-130\t2\t1\r\n"
           "1005\t2005\t200\t-200\t2\t1\r\n";
  }
  open(recording);
  EXPECT_EQ(s.ui().GetCtrlText(st.pStatistics, t::TEXTStatSource),
            "Recording: " + recording.string());
  EXPECT_EQ(line(1), "Value [px]          5      132.00     39.623      100      200     100");
  EXPECT_EQ(line(2), "Value [µm]          5     -132.00     39.623     -200     -100     100");
  EXPECT_EQ(line(3), "MASTER edge         5     1003.00      1.581     1001     1005       4");
  EXPECT_EQ(line(4), "SLAVE edge          5     2003.00      1.581     2001     2005       4");
  setLimit(t::NUMStatLower, 105);
  // Below an upper limit still 0: no window, so nothing is counted as inside or outside it.
  EXPECT_EQ(line(7), "In the recording: 5 answers, not judged: the limits make no window");
  setLimit(t::NUMStatUpper, 150);
  EXPECT_EQ(line(6), "Cp 0.19  Cpk 0.15  against 105 to 150 px");
  EXPECT_EQ(line(7), "In the recording: 5 answers, 3 inside, 1 above, 1 below, yield 60.00 %");

  // The export holds each value with its time: the start plus the interval.
  s.rt.answerFileDialog({VAL_NEW_FILE_SELECTED, exported.string()});
  s.commit(st.pStatistics, t::BTNStatExport);
  EXPECT_EQ(state(), "Saved 5 values to " + exported.string());
  const std::string dfq = readFile(exported);
  EXPECT_NE(dfq.find("K2110/1 105\r\nK2111/1 150\r\nK2142/1 px\r\n"), std::string::npos) << dfq;
  EXPECT_NE(dfq.find("K0001/1 100\r\nK0004/1 14.03.2026/15:09:26\r\n"), std::string::npos) << dfq;
  EXPECT_NE(dfq.find("K0001/1 200\r\nK0004/1 14.03.2026/15:09:34\r\n"), std::string::npos) << dfq;

  // A file that is no recording leaves the figures on show.
  {
    std::ofstream out(recording, std::ios::binary);
    out << "not a recording\r\n";
  }
  open(recording);
  EXPECT_EQ(state().rfind("Not opened: ", 0), 0u) << state();
  EXPECT_EQ(line(7), "In the recording: 5 answers, 3 inside, 1 above, 1 below, yield 60.00 %");

  s.commit(st.pStatistics, t::BTNStatReset);
  EXPECT_EQ(s.ui().GetCtrlText(st.pStatistics, t::TEXTStatSource), "Live: RUN answers");
  EXPECT_EQ(line(7), "Since the reset: 0 answers, 0 inside, 0 above, 0 below, yield -");
  EXPECT_TRUE(s.ui().control(st.pStatistics, t::NUMStatLower)->dimmed);
  s.rt.answerFileDialog({VAL_NEW_FILE_SELECTED, exported.string()});
  s.commit(st.pStatistics, t::BTNStatExport);
  EXPECT_EQ(state(), "Not saved: no values yet.");
}

}  // namespace
}  // namespace qrix::testing
