// The link indicator and the link log window on the headless runtime, fed by hand: the
// indicator's colour through every state of the link, its tooltip with the counters, a press
// opening the log window that follows the log only while open and only when the log changed,
// the copy to the clipboard, and the save with its dialog, its overwrite question and its
// failures said as such.

#include "shell/link_indicator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace l = ids::linklog;
using link::ExchangeKind;
using link::Outcome;
using Events = std::vector<std::string>;

// The events of a log's text, each line checked for its two time stamps (the calendar's and the
// runtime clock's) first.
Events eventsOf(const std::string& log) {
  static const std::regex kLine(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  [+-]\d+\.\d{3} s  (.*))");
  Events events;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, kLine)) {
      ADD_FAILURE() << "not a log line: " << line;
      continue;
    }
    events.push_back(m[1]);
  }
  return events;
}

class LinkIndicator : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.startOffline(), 0); }

  const ui::Control& led() { return *s.ui().control(st.pHandle, ids::main::LEDLink); }
  bool logOpen() { return s.ui().panel(st.pLinkLog)->visible; }
  std::string logBox() { return s.ui().GetCtrlText(st.pLinkLog, l::TEXTLinkLog); }
  std::string told() { return s.ui().GetCtrlText(st.pLinkLog, l::TEXTLogState); }
  bool toldInRed() { return s.ui().control(st.pLinkLog, l::TEXTLogState)->textColour == ui::kRed; }
  void exchanges(Outcome outcome, int times = 1) {
    for (int i = 0; i < times; ++i) {
      st.health.record(ExchangeKind::Run, outcome);
    }
  }

  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(LinkIndicator, ColourFollowsTheStateOfTheLink) {
  struct Step {
    const char* what;
    std::function<void()> feed;
    ui::Rgb colour;
  };
  const Step steps[] = {
      {"before the first exchange", [] {}, ui::kGrey},
      {"an answer", [&] { exchanges(Outcome::Answered); }, ui::kGreen},
      {"a failure, then an answer",
       [&] {
         exchanges(Outcome::TimedOut);
         exchanges(Outcome::Answered);
       },
       ui::kGreen},
      {"a second failure in 100, then an answer",
       [&] {
         exchanges(Outcome::WrongEcho);
         exchanges(Outcome::Answered);
       },
       ui::kAmber},
      {"a failure last", [&] { exchanges(Outcome::OutOfStep); }, ui::kRed},
      {"100 answers", [&] { exchanges(Outcome::Answered, 100); }, ui::kGreen},
      {"the line lost", [&] { st.health.lineLost(); }, ui::kRed},
      {"the line back", [&] { st.health.lineOpened(); }, ui::kGreen},
  };
  for (const Step& step : steps) {
    step.feed();
    showLinkHealth(s.p);
    EXPECT_EQ(led().ledColour, step.colour) << step.what;
  }
}

TEST_F(LinkIndicator, TooltipSaysTheStateInWordsAndGivesTheCounters) {
  // Start-up has shown the indicator already.
  EXPECT_TRUE(led().tooltip.starts_with("Link: not used yet\nno exchange yet\n")) << led().tooltip;
  exchanges(Outcome::Answered, 2);
  exchanges(Outcome::TimedOut);
  st.health.record(ExchangeKind::Teach, Outcome::Answered);
  st.health.droppedBytes(ExchangeKind::Run, 9);
  showLinkHealth(s.p);
  const std::string tip = led().tooltip;
  EXPECT_TRUE(tip.starts_with("Link: good\n")) << tip;
  EXPECT_NE(tip.find("\nRUN: 3 requests, 2 answers, 1 time-outs, 0 wrong echo, 0 out of step, 0 "
                     "line lost, 9 bytes dropped, 0 short, 0 surplus\n"),
            std::string::npos)
      << tip;
  EXPECT_NE(tip.find("\nteach: 1 requests, 1 answers, 0 time-outs, 0 wrong echo, 0 out of step, 0 "
                     "line lost, 0 bytes dropped, 0 short, 0 surplus\n"),
            std::string::npos)
      << tip;

  st.health.lineLost();
  showLinkHealth(s.p);
  EXPECT_TRUE(led().tooltip.starts_with("Link: the serial port is lost\n")) << led().tooltip;
}

TEST_F(LinkIndicator, PressOpensTheLogWindowWhichFollowsTheLogWhileOpen) {
  const ui::Panel& window = *s.ui().panel(st.pLinkLog);
  EXPECT_EQ(window.name, "pLinkLog");
  EXPECT_EQ(window.parent, 0);
  EXPECT_FALSE(logOpen());

  // A right-click is no press, and the indicator has no help to show.
  s.rightClick(st.pHandle, ids::main::LEDLink);
  EXPECT_FALSE(logOpen());
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, ids::main::HelpText1));
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, ids::main::HelpText2));

  s.p.logLine("port opened");
  s.p.logLine("time-out");
  s.click(st.pHandle, ids::main::LEDLink);
  ASSERT_TRUE(logOpen());
  EXPECT_EQ(s.ui().activePanel(), st.pLinkLog);
  EXPECT_EQ(eventsOf(logBox()), (Events{"port opened", "time-out"}));

  s.p.logLine("bytes dropped");
  showLinkHealth(s.p);
  EXPECT_TRUE(logBox().ends_with("  bytes dropped\n"));

  s.ui().dispatch(st.pLinkLog, 0, ui::EVENT_CLOSE);
  EXPECT_FALSE(logOpen());
  EXPECT_FALSE(s.rt.quitRequested());
  s.p.logLine("line lost");
  showLinkHealth(s.p);
  EXPECT_TRUE(logBox().ends_with("  bytes dropped\n"));  // closed: left alone

  s.commit(st.pHandle, ids::main::LEDLink);  // Space, Enter, a screen reader: a commit alone
  ASSERT_TRUE(logOpen());
  EXPECT_EQ(eventsOf(logBox()), (Events{"port opened", "time-out", "bytes dropped", "line lost"}));
}

// The box keeps its line count while a failure repeats: only the count on the last line grows.
TEST_F(LinkIndicator, TheOpenLogFollowsTheCountOfARepeatedFailure) {
  s.rt.setCalendarTime(1'800'000'000);  // with the runtime clock still, only the count changes
  s.p.logLine("opened COM1 at 19200 baud 8N1");
  s.commit(st.pHandle, ids::main::LEDLink);
  for (const char* last :
       {"  RUN: out of step\n", "  RUN: out of step (x2)\n", "  RUN: out of step (x3)\n"}) {
    s.p.recordExchange(ExchangeKind::Run, Outcome::OutOfStep);
    showLinkHealth(s.p);
    const std::string box = logBox();
    EXPECT_TRUE(box.ends_with(last)) << box;
    EXPECT_EQ(std::count(box.begin(), box.end(), '\n'), 2) << box;
  }
}

// Counts what reaches a view.
class ChangeCounter : public ui::UiObserver {
 public:
  void panelLoaded(int) override {}
  void panelDiscarded(int) override {}
  void changed(int panel, int control, ui::Aspect aspect) override {
    ++changes[{panel, control, aspect}];
  }
  std::map<std::tuple<int, int, ui::Aspect>, int> changes;
};

// showLinkHealth runs after every exchange, up to 30 times a second during RUN.
TEST_F(LinkIndicator, RewritesOnlyWhatChangedAlsoWithTheLogFull) {
  s.commit(st.pHandle, ids::main::LEDLink);
  for (int i = 0; i < 500; ++i) {
    s.p.logLine("event " + std::to_string(i));
  }
  exchanges(Outcome::Answered);
  showLinkHealth(s.p);
  ChangeCounter counter;
  s.ui().setObserver(&counter);
  const auto rewrites = [&] {
    return counter.changes[{st.pLinkLog, l::TEXTLinkLog, ui::Aspect::Value}];
  };
  const auto ledChanges = [&](ui::Aspect aspect) {
    return counter.changes[{st.pHandle, ids::main::LEDLink, aspect}];
  };

  for (int i = 0; i < 10; ++i) {
    showLinkHealth(s.p);
  }
  EXPECT_EQ(rewrites(), 0);
  EXPECT_EQ(ledChanges(ui::Aspect::Tooltip), 0);

  exchanges(Outcome::Answered);  // new counters, same colour, same log: only the tooltip
  showLinkHealth(s.p);
  EXPECT_EQ(rewrites(), 0);
  EXPECT_EQ(ledChanges(ui::Aspect::Tooltip), 1);
  EXPECT_EQ(ledChanges(ui::Aspect::Attributes), 0);

  s.p.logLine("event 500");  // the oldest goes, the length stays
  showLinkHealth(s.p);
  showLinkHealth(s.p);
  EXPECT_EQ(rewrites(), 1);
  const Events events = eventsOf(logBox());
  EXPECT_EQ(events.size(), 500u);
  EXPECT_EQ(events.front(), "event 1");
  EXPECT_EQ(events.back(), "event 500");
  s.ui().setObserver(nullptr);
}

TEST_F(LinkIndicator, CopyPutsExactlyTheLogOnTheClipboardOrSaysItDidNot) {
  s.p.logLine("port opened");
  s.p.logLine("answer out of step");
  s.commit(st.pHandle, ids::main::LEDLink);
  s.commit(st.pLinkLog, l::BTNCopyLog);
  EXPECT_EQ(eventsOf(s.rt.clipboardText()), (Events{"port opened", "answer out of step"}));
  EXPECT_EQ(told(), "Copied 2 events to the clipboard.");
  EXPECT_FALSE(toldInRed());

  s.p.logLine("time-out");
  s.rt.refuseClipboard(true);
  s.commit(st.pLinkLog, l::BTNCopyLog);
  EXPECT_EQ(told(), "Not copied: the clipboard did not take the text.");
  EXPECT_TRUE(toldInRed());
}

class LinkLogSave : public LinkIndicator {
 protected:
  void SetUp() override {
    LinkIndicator::SetUp();
    fs::create_directories(dir);
    s.p.logLine("port opened");
    s.p.logLine("time-out");
    s.commit(st.pHandle, ids::main::LEDLink);
  }
  void TearDown() override { fs::remove_all(dir); }
  static std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  const fs::path dir = fs::temp_directory_path() / ("qrix-linklog-" + std::to_string(getpid()));
};

TEST_F(LinkLogSave, WritesTheLogIntoTheFileChosenAndSaysWhere) {
  const fs::path file = dir / "LINKLOG.TXT";
  s.rt.answerFileDialog({VAL_NEW_FILE_SELECTED, file.string()});
  s.commit(st.pLinkLog, l::BTNSaveLog);
  EXPECT_EQ(eventsOf(read(file)), (Events{"port opened", "time-out"}));
  EXPECT_EQ(told(), "Saved 2 events to " + file.string());
  EXPECT_FALSE(toldInRed());
  ASSERT_EQ(s.rt.dialogs().size(), 1u);
  const HeadlessRuntime::DialogRecord& dialog = s.rt.dialogs().front();
  EXPECT_EQ(dialog.kind, "save");
  EXPECT_EQ(dialog.defaultName, "LINKLOG.TXT");
  EXPECT_EQ(dialog.filter, "*.txt");
  EXPECT_EQ(dialog.button, "Save");
}

TEST_F(LinkLogSave, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
  const fs::path file = dir / "old.txt";
  for (int answer : {0, 1}) {
    std::ofstream(file, std::ios::binary) << "kept";
    s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, file.string()});
    s.rt.answerConfirm(answer);
    s.commit(st.pLinkLog, l::BTNSaveLog);
    if (answer) {
      EXPECT_EQ(eventsOf(read(file)), (Events{"port opened", "time-out"}));
    } else {
      EXPECT_EQ(read(file), "kept");
    }
    EXPECT_EQ(s.rt.dialogs().back().kind, "confirm");
  }
}

TEST_F(LinkLogSave, FailuresAreSaidAsSuchAndLeaveNoFile) {
  const fs::path missing = dir / "no-such-folder" / "LINKLOG.TXT";
  s.rt.answerFileDialog({VAL_NEW_FILE_SELECTED, missing.string()});
  s.commit(st.pLinkLog, l::BTNSaveLog);
  EXPECT_EQ(told(), "Not saved: cannot write " + missing.string());
  EXPECT_TRUE(toldInRed());
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  // A dialog inside RUN would hold its exchanges past their time-out: no dialog then.
  const std::size_t dialogs = s.rt.dialogs().size();
  st.lineUser = LineUser::Run;
  s.commit(st.pLinkLog, l::BTNSaveLog);
  st.lineUser = LineUser::None;
  EXPECT_EQ(s.rt.dialogs().size(), dialogs);
  EXPECT_EQ(told(), "Not saved: stop RUN, VIDEO, DATA or the recording first.");
  EXPECT_TRUE(toldInRed());
  EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
}  // namespace qrix::testing
