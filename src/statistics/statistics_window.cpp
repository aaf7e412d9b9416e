#include "statistics/statistics_window.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "program/program.h"
#include "qdas/dfq_writer.h"
#include "recorder/recorder_reader.h"
#include "runtime/files.h"
#include "runtime/output_file.h"
#include "statistics/figures_text.h"
#include "stats/measurement_statistics.h"

namespace qrix {

namespace {

namespace t = ids::statistics;
using stats::Judgement;
using stats::Measurement;
using stats::Span;

// The figures are brought up to date at most this often while answers come.
constexpr double kShowEvery = 0.2;
// Samples kept for the Q-DAS export and for a recording's new limits: about a day at the line's
// rate. The figures go on exactly beyond it; the export then holds the newest.
constexpr std::size_t kMostKept = 2'500'000;

// One sample as the export needs it, its time in seconds after the book's start; kept in 24
// bytes, since a day of them is kept (the values are the sensor's 16- and 32-bit words).
struct Kept {
  std::int64_t second;
  std::int32_t valuePx, valueUm, masterEdge, slaveEdge;

  Kept(std::int64_t at, const Measurement& m)
      : second(at),
        valuePx(static_cast<std::int32_t>(m.valuePx)),
        valueUm(static_cast<std::int32_t>(m.valueUm)),
        masterEdge(static_cast<std::int32_t>(m.masterEdge)),
        slaveEdge(static_cast<std::int32_t>(m.slaveEdge)) {}
  Measurement values() const { return {valuePx, valueUm, masterEdge, slaveEdge}; }
};

qdas::DateTime dateTimeOf(std::time_t when) {
  // The runtime's own texts, "MM-DD-YYYY" and "HH:MM:SS", in local time as the recorder writes.
  qdas::DateTime t;
  std::sscanf(files::DateStr(when).c_str(), "%d-%d-%d", &t.month, &t.day, &t.year);
  std::sscanf(files::TimeStr(when).c_str(), "%d:%d:%d", &t.hour, &t.minute, &t.second);
  return t;
}

}  // namespace

// What the window shows: the live figures or a recording's, with the samples kept for the export.
struct StatisticsBook {
  stats::MeasurementStatistics figures;
  std::deque<Kept> kept;
  qdas::DateTime start;       // the time of the first sample's second 0
  std::time_t liveStart = 0;  // the calendar time the live samples count from
  bool fromRecording = false;
  std::string recording;
  std::optional<ToleranceLimits> limits;
  std::int64_t target = 0;
  double lastShown = -1e9;
  bool pending = false;
  // The counters count since the start of RUN or the reset, whichever came last.
  bool countersSinceRun = false;
  bool runStarting = true;

  void keep(const Kept& k) {
    kept.push_back(k);
    if (kept.size() > kMostKept) {
      kept.pop_front();
    }
  }
  void clear() {
    figures.reset();
    kept.clear();
    limits.reset();
    pending = false;
  }
};

namespace {

StatisticsBook* bookOf(Program& p) {
  return p.statistics.get();
}

Span selectedSpan(Program& p) {
  const auto v = static_cast<int>(p.ui().GetCtrlVal(p.st.pStatistics, t::RINGStatSpan));
  return v >= 0 && v < stats::kSpans ? static_cast<Span>(v) : Span::All;
}

std::size_t spanLength(Span span, std::size_t all) {
  switch (span) {
    case Span::Last100: return std::min<std::size_t>(all, 100);
    case Span::Last1000: return std::min<std::size_t>(all, 1000);
    case Span::Last10000: return std::min<std::size_t>(all, 10000);
    case Span::All: break;
  }
  return all;
}

void tell(Program& p, const std::string& text, bool failed) {
  p.tell(p.st.pStatistics, t::TEXTStatState, text, failed);
}

// The histogram's bars (inside the window green, outside red), the limits in black and the
// target in blue, and the same in words for a screen reader.
void drawHistogram(Program& p, const StatisticsBook& b, Span span) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pStatistics;
  std::optional<stats::Histogram> h;
  if (b.limits) {
    h = b.figures.histogram(span, b.limits->lower, b.limits->upper);
  }
  std::vector<ui::UiModel::RectanglePlot> marks;
  if (!h) {
    ui.SetGraphRectangles(panel, t::GRAPHStatHistogram, marks);
    ui.SetDescription(panel, t::GRAPHStatHistogram,
                      b.limits ? "Histogram of the value: the limits make no window"
                               : "Histogram of the value: no tolerance window yet");
    return;
  }
  const int bins = static_cast<int>(h->counts.size());
  const double from = h->edge(h->firstBin), to = h->edge(h->firstBin + bins);
  std::uint64_t most = 1, inside = 0, total = h->beyondLow + h->beyondHigh;
  for (int i = 0; i < bins; ++i) {
    const std::uint64_t n = h->counts[static_cast<std::size_t>(i)];
    most = std::max(most, n);
    total += n;
    const int bin = h->firstBin + i;
    const bool in = bin >= 0 && bin < h->windowBins;
    inside += in ? n : 0;
    if (n > 0) {
      const ui::Rgb colour = in ? ui::kDarkGreen : ui::kRed;
      marks.push_back({h->edge(bin), 0, h->edge(bin + 1), static_cast<double>(n), colour, colour});
    }
  }
  const double top = static_cast<double>(most) * 1.1;
  const double line = (to - from) / 400.0;
  for (auto [x, colour] : {std::pair{static_cast<double>(h->lower), ui::kBlack},
                           {static_cast<double>(h->upper), ui::kBlack},
                           {static_cast<double>(b.target), ui::kBlue}}) {
    marks.push_back({x - line, 0, x + line, top, colour, colour});
  }
  ui.SetAxisRange(panel, t::GRAPHStatHistogram, ui::Axis::X, from, to);
  ui.SetAxisRange(panel, t::GRAPHStatHistogram, ui::Axis::YLeft, 0, top);
  ui.SetGraphRectangles(panel, t::GRAPHStatHistogram, marks);
  char words[200];
  std::snprintf(words, sizeof words,
                "Histogram of the value: %llu answers in %d bins of %.4g px from %.0f to %.0f px; "
                "limits %lld and %lld, target %lld; %llu outside",
                static_cast<unsigned long long>(total), bins, h->width(), from, to,
                static_cast<long long>(h->lower), static_cast<long long>(h->upper),
                static_cast<long long>(b.target), static_cast<unsigned long long>(total - inside));
  ui.SetDescription(panel, t::GRAPHStatHistogram, words);
}

// Brings the window up to date; while it is hidden, only notes that it has to be.
void show(Program& p, StatisticsBook& b) {
  const ui::Panel* window = p.ui().panel(p.st.pStatistics);
  if (!window || !window->visible) {
    b.pending = true;
    return;
  }
  b.pending = false;
  b.lastShown = p.rt.Timer();
  const Span span = selectedSpan(p);
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pStatistics;
  ui.ResetTextBox(panel, t::TEXTStatFigures,
                  figuresText(b.figures, span, b.limits,
                              b.fromRecording      ? "In the recording"
                              : b.countersSinceRun ? "Since the start of RUN"
                                                   : "Since the reset",
                              !b.fromRecording || !b.limits || b.limits->upper > b.limits->lower));
  if (b.limits && !b.fromRecording) {
    ui.SetCtrlVal(panel, t::NUMStatLower, static_cast<double>(b.limits->lower));
    ui.SetCtrlVal(panel, t::NUMStatUpper, static_cast<double>(b.limits->upper));
  }
  drawHistogram(p, b, span);
}

Judgement judgeIn(const std::optional<ToleranceLimits>& limits, std::int64_t value) {
  return limits
             ? stats::judgeInLimits(static_cast<double>(value), static_cast<double>(limits->lower),
                                    static_cast<double>(limits->upper))
             : Judgement::Inside;
}

// A recording's figures anew from its samples, judged against the limits in use.
void refigure(StatisticsBook& b) {
  b.figures.reset();
  for (const Kept& k : b.kept) {
    b.figures.add(k.values(), judgeIn(b.limits, k.valuePx));
  }
}

class StatisticsConsumer : public RunConsumer {
 public:
  explicit StatisticsConsumer(Program& p) : p_(p) {}

  bool take(const RunValues& v) override {
    StatisticsBook& b = *p_.statistics;
    // A recording on show keeps the window until Reset goes back to the live answers.
    if (b.fromRecording) {
      return true;
    }
    if (b.runStarting) {
      b.runStarting = false;
      b.figures.resetCounters();
      b.countersSinceRun = true;
    }
    const RunAnswer& a = v.answer;
    const Measurement m{a.Mvalue, a.umValue, a.Aval, a.Bval};
    b.figures.add(m, stats::judge(a.Mvalue, v.tVal, v.tolup, v.tollo));
    b.limits = ToleranceLimits{std::int64_t{v.tVal} - v.tollo, std::int64_t{v.tVal} + v.tolup};
    b.target = v.tVal;
    const std::time_t now = p_.rt.CalendarTime();
    if (b.kept.empty() && b.figures.count() == 1) {
      b.liveStart = now;
      b.start = dateTimeOf(now);
    }
    b.keep({static_cast<std::int64_t>(now - b.liveStart), m});
    if (p_.rt.Timer() - b.lastShown >= kShowEvery) {
      show(p_, b);
    } else {
      b.pending = true;
    }
    return true;
  }

  void paused() override {
    p_.statistics->runStarting = true;
    if (p_.statistics->pending) {
      show(p_, *p_.statistics);
    }
  }

 private:
  Program& p_;
};

void showSource(Program& p, const StatisticsBook& b) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pStatistics;
  ui.SetCtrlText(panel, t::TEXTStatSource,
                 b.fromRecording ? "Recording: " + b.recording : "Live: RUN answers");
  // A recording's limits are typed; the live ones are the RUN answers' own.
  ui.SetDimmed(panel, t::NUMStatLower, !b.fromRecording);
  ui.SetDimmed(panel, t::NUMStatUpper, !b.fromRecording);
}

}  // namespace

std::unique_ptr<RunConsumer> makeStatisticsConsumer(Program& p) {
  p.statistics = std::make_shared<StatisticsBook>();
  return std::make_unique<StatisticsConsumer>(p);
}

int CC_BTNStatistics(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || !bookOf(p)) {
    return 0;
  }
  p.showWindow(p.st.pStatistics);
  show(p, *bookOf(p));
  return 0;
}

int CC_STATISTICS(Program& p, int, int event) {
  if (event == ui::EVENT_CLOSE) {
    p.hideWindow(p.st.pStatistics);
  }
  return 0;
}

int CC_StatShown(Program& p, int, int control, int event) {
  StatisticsBook* b = bookOf(p);
  if (event != ui::EVENT_VAL_CHANGED || !b) {
    return 0;
  }
  if (control == t::NUMStatLower || control == t::NUMStatUpper) {
    // Only a recording's limits are typed: a refused change is refused here too.
    if (!b->fromRecording) {
      show(p, *b);
      return 0;
    }
    b->limits = ToleranceLimits{
        static_cast<std::int64_t>(p.ui().GetCtrlVal(p.st.pStatistics, t::NUMStatLower)),
        static_cast<std::int64_t>(p.ui().GetCtrlVal(p.st.pStatistics, t::NUMStatUpper))};
    b->target = (b->limits->lower + b->limits->upper) / 2;
    refigure(*b);
  }
  show(p, *b);
  return 0;
}

int CC_BTNStatReset(Program& p, int, int, int event) {
  StatisticsBook* b = bookOf(p);
  if (event != ui::EVENT_COMMIT || !b) {
    return 0;
  }
  b->clear();
  b->countersSinceRun = false;
  b->fromRecording = false;
  b->recording.clear();
  showSource(p, *b);
  show(p, *b);
  tell(p, "The figures start again from the next RUN answer.", false);
  return 0;
}

int CC_BTNStatOpen(Program& p, int, int, int event) {
  StatisticsBook* b = bookOf(p);
  if (event != ui::EVENT_COMMIT || !b) {
    return 0;
  }
  const FileSelection choice = p.selectFile("RECORD.DAT", "*.dat", "Recorder file for statistics",
                                            FileDialogMode::Load, FileDialogButton::Load);
  if (choice.status == VAL_NO_FILE_SELECTED) {
    return 0;
  }
  // Read aside first: a file that is no recording leaves the figures on show as they are.
  StatisticsBook read;
  RecorderHeader header;
  RecorderFault fault;
  const auto onSample = [&read](std::uint64_t index, const RecorderSample& s) {
    // The recorder's first column holds the edge the window shows as MASTER's.
    read.keep({static_cast<std::int64_t>(index), Measurement{s.mval, s.mvalUm, s.slave, s.master}});
  };
  if (!readRecorderFile(choice.path, onSample, header, fault)) {
    tell(p, "Not opened: " + faultText(choice.path, fault) + ".", true);
    return 0;
  }
  // Each line's time: the recording's start and its interval (at interval 0 the recorder stamps
  // only the start).
  for (Kept& k : read.kept) {
    k.second *= header.interval;
  }
  read.fromRecording = true;
  read.recording = choice.path;
  read.start = {header.year, header.month, header.day, header.hour, header.minute, header.second};
  // The limits: the tolerance window the panel holds now, else those typed in the window.
  const ProgramState& st = p.st;
  if (st.runAnswerTaken) {
    read.limits =
        ToleranceLimits{std::int64_t{st.tVal} - st.tollo, std::int64_t{st.tVal} + st.tolup};
    read.target = st.tVal;
  } else {
    read.limits = ToleranceLimits{
        static_cast<std::int64_t>(p.ui().GetCtrlVal(st.pStatistics, t::NUMStatLower)),
        static_cast<std::int64_t>(p.ui().GetCtrlVal(st.pStatistics, t::NUMStatUpper))};
    read.target = (read.limits->lower + read.limits->upper) / 2;
  }
  refigure(read);
  *b = std::move(read);
  p.ui().SetCtrlVal(st.pStatistics, t::NUMStatLower, static_cast<double>(b->limits->lower));
  p.ui().SetCtrlVal(st.pStatistics, t::NUMStatUpper, static_cast<double>(b->limits->upper));
  showSource(p, *b);
  show(p, *b);
  tell(p, "Opened " + choice.path + ": " + std::to_string(b->figures.count()) + " samples.", false);
  return 0;
}

int CC_BTNStatExport(Program& p, int, int, int event) {
  StatisticsBook* b = bookOf(p);
  if (event != ui::EVENT_COMMIT || !b) {
    return 0;
  }
  const std::size_t n = spanLength(selectedSpan(p), b->kept.size());
  if (n == 0) {
    tell(p, "Not saved: no values yet.", true);
    return 0;
  }
  qdas::Description d;
  d.partDescription = b->fromRecording ? "recording" : "RUN answers";
  d.characteristicDescription = "MVAL";
  d.unit = "px";
  d.nominal = static_cast<double>(b->target);
  if (b->limits) {
    d.lower = static_cast<double>(b->limits->lower);
    d.upper = static_cast<double>(b->limits->upper);
  }
  if (const std::string fault = qdas::checkDescription(d); !fault.empty()) {
    tell(p, "Not saved: " + fault + ".", true);
    return 0;
  }
  std::string refusal;
  const std::optional<std::string> path =
      p.chooseFileToWrite("STATISTICS.dfq", "*.dfq", "Export Q-DAS", &refusal);
  if (!path) {
    if (!refusal.empty()) {
      tell(p, "Not saved: " + refusal + ".", true);
    }
    return 0;
  }
  std::string text = qdas::descriptionText(d);
  for (auto k = b->kept.end() - static_cast<std::ptrdiff_t>(n); k != b->kept.end(); ++k) {
    qdas::appendValue(text, static_cast<double>(k->valuePx), qdas::plusSeconds(b->start, k->second),
                      {});
  }
  std::string reason;
  if (!files::writeFileAtomically(*path, text, &reason)) {
    tell(p, "Not saved: cannot write " + *path + ": " + reason + ".", true);
    return 0;
  }
  tell(p, "Saved " + std::to_string(n) + " values to " + *path, false);
  return 0;
}

}  // namespace qrix
