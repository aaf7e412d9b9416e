// Recordings against the simulated pair on the virtual clock: the file as it grows, the interval
// (also across the 16-bit wrap of the mark), the ends (count, STOP, close box, silent line, a
// failed write), the overwrite questions, and the line held alone while recording.

#include "recorder/recording.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;
namespace pop = ids::popup;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file's lines without their CR LF; a line without CR LF is kept as "<no CR LF>" + text.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back("<no CR LF>" + text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qrix-rec-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    ASSERT_EQ(s.start(), 0);
    st.rec_fname = (dir / "rec.dat").string();
    s.ui().ResetTextBox(st.pPopUp, pop::TEXTRecFile, st.rec_fname);
  }
  void TearDown() override { fs::remove_all(dir); }

  void settings(int interval, int samples) {
    s.ui().SetCtrlVal(st.pPopUp, pop::NEDITRecTime, interval);
    s.ui().SetCtrlVal(st.pPopUp, pop::NEDITRecSamples, samples);
  }
  // Presses START; the recording runs to its end inside the click.
  void record() {
    t0 = s.rt.Timer();
    first = s.requests().size();
    s.click(st.pPopUp, pop::BTNStartRecord);
  }
  size_t runRequests() const {
    size_t n = 0;
    for (size_t i = first; i < s.requests().size(); ++i) n += s.requests()[i].command == 8;
    return n;
  }
  std::vector<std::string> fileLines() { return linesOf(readAll(st.rec_fname)); }
  int count() { return static_cast<int>(s.ui().GetCtrlVal(st.pPopUp, pop::NUMRecCount)); }
  bool dimmed(int panel, int control) { return s.ui().IsDimmed(panel, control); }
  // A commit straight to the callback, past the dimming that keeps the user's clicks away.
  void commitPastDimming(int panel, int control) {
    const ui::Callback* fn = s.rt.callbacks().find(s.ui().control(panel, control)->callback);
    ASSERT_NE(fn, nullptr);
    (*fn)(panel, control, ui::EVENT_COMMIT, 0, 0);
  }
  const ui::Control& state() { return *s.ui().control(st.pPopUp, pop::TEXTRecState); }
  void expectIdle() {
    EXPECT_EQ(state().text, "DATA-RECORDER");
    EXPECT_EQ(state().backColour, 0xE0E0E0u);
    EXPECT_EQ(state().textColour, 0x000000u);
    for (int c : {m::BTNRun, m::BTNVideo, m::ButtonTeach, m::BTNGet, m::DropDCom})
      EXPECT_FALSE(dimmed(st.pHandle, c)) << c;
    EXPECT_FALSE(dimmed(st.pPopUp, pop::BTNStartRecord));
    EXPECT_FALSE(dimmed(st.pPopUp, pop::CMDBTNrecfile));
  }

  fs::path dir;
  Scope s;
  ProgramState& st = s.p.st;
  double t0 = 0;
  size_t first = 0;
};

TEST_F(Recording, EveryAnswerAtIntervalZeroIsWrittenAndEachCountedLineIsInTheFileAtOnce) {
  settings(0, 5);
  std::vector<std::string> seen;
  s.rt.at(s.rt.Timer() + 0.1, [&] {
    seen = fileLines();
    EXPECT_EQ(seen.size(), 4u + static_cast<size_t>(count()));
    EXPECT_GT(count(), 0);
    EXPECT_EQ(state().text, "DATA-RECORDER active ...");
    EXPECT_EQ(state().backColour, 0xFF0000u);
    EXPECT_EQ(state().textColour, 0xFFFFFFu);
    for (int c : {m::BTNRun, m::BTNVideo, m::BTNData, m::ButtonTeach, m::ButtonReset, m::BTNGet,
                  m::BTNSend, m::DropDCom})
      EXPECT_TRUE(dimmed(st.pHandle, c)) << c;
    EXPECT_TRUE(dimmed(st.pPopUp, pop::BTNStartRecord));
    EXPECT_TRUE(dimmed(st.pPopUp, pop::CMDBTNrecfile));
  });
  record();
  ASSERT_FALSE(seen.empty());
  const auto lines = fileLines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")))
      << lines[0];
  EXPECT_EQ(lines[1], "Q-RIX-RECORDER-FILE: Time-Interval[s]: 0");
  EXPECT_EQ(lines[2], "SETPOINT-VALUE [\xB5m]: " + std::to_string(st.parameter.sys.setpoint));
  EXPECT_EQ(lines[3], "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE");
  EXPECT_EQ(lines.back(), std::to_string(st.Aval) + "\t" + std::to_string(st.Bval) + "\t" +
                              std::to_string(st.Mvalue) + "\t" + std::to_string(st.umValue) + "\t" +
                              std::to_string(st.edcntA) + "\t" + std::to_string(st.edcntB));
  // Five answers, five samples; the request sent with the fifth sample goes unanswered.
  EXPECT_EQ(runRequests(), 6u);
  EXPECT_EQ(count(), 5);
  EXPECT_EQ(s.status(), "Line Ok!");
  EXPECT_TRUE(s.ui().IsVisible(st.pHandle, m::GRAPHRaw));
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, m::GRAPHVideoMaster));
  EXPECT_EQ(st.rx_flag, 0);
  EXPECT_EQ(st.graph_flag, 0);
  expectIdle();
}

TEST_F(Recording, NoSamplesWritesTheHeaderAndEndsAtOnce) {
  settings(1, 0);
  record();
  EXPECT_EQ(fileLines().size(), 4u);
  EXPECT_LT(s.rt.Timer() - t0, 0.01);
  expectIdle();
}

TEST_F(Recording, IntervalIsMeasuredAcrossTheWrapOfTheSixteenBitMark) {
  // Nothing is under way on the line, so the clock may jump instead of pumping there.
  s.rt.Delay(65533.5 - s.rt.Timer());
  settings(2, 4);
  s.rt.at(65533.5 + 30, [this] { st.stop_flag = 1; });
  record();
  EXPECT_EQ(count(), 4);
  // The mark drops the start's half second: samples at 65535, 65537, 65539, 65541.
  EXPECT_NEAR(s.rt.Timer() - t0, 7.5, 0.1);
  EXPECT_EQ(fileLines().size(), 8u);
}

TEST_F(Recording, SilentLineEndsTheRecordingWithEveryCountedLineInTheFile) {
  sim::Faults hangUp;
  hangUp.hangUpAfter = 7;
  s.sensor->setFaults(hangUp);
  settings(0, 100);
  record();
  EXPECT_EQ(s.status(), "Timeout RS232-Line!");
  // The recorder waits TIMEOUT after its last request; the sensor logs it 18.75 ms after the write.
  EXPECT_NEAR(s.rt.Timer() - s.requests().back().time, 1.5 - 0.01875, 0.005);
  EXPECT_EQ(count(), 7);
  const auto lines = fileLines();
  EXPECT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines.back().find("<no CR LF>"), std::string::npos);
  expectIdle();
}

struct Stopper {
  const char* name;
  void (*press)(Scope&);
};

TEST_F(Recording, StopTheCloseBoxAndTheMainStopEachEndARecording) {
  const Stopper stoppers[] = {
      {"recorder STOP", [](Scope& sc) { sc.click(sc.p.st.pPopUp, pop::BTNStopRecord); }},
      {"close box", [](Scope& sc) { sc.ui().dispatch(sc.p.st.pPopUp, 0, ui::EVENT_CLOSE); }},
      {"main STOP", [](Scope& sc) { sc.click(sc.p.st.pHandle, m::BTNStop); }},
  };
  settings(0, 1000);
  for (const Stopper& stop : stoppers) {
    SCOPED_TRACE(stop.name);
    s.rt.at(s.rt.Timer() + 1.0, [&] {
      // STOP in the middle of a recording leaves the dimming to the recording.
      stop.press(s);
      EXPECT_TRUE(dimmed(st.pHandle, m::BTNRun));
    });
    record();
    EXPECT_GT(count(), 10);
    EXPECT_LT(count(), 1000);
    EXPECT_EQ(fileLines().size(), 4u + static_cast<size_t>(count()));
    expectIdle();
    fs::remove(st.rec_fname);
  }
}

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit low = old_;
    low.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &low);
    signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

TEST_F(Recording, FailedWriteEndsTheRecordingAndLeavesOnlyWholeLines) {
  settings(0, 100);
  const std::string header = "01-01-2026 00:00:00\r\nQ-RIX-RECORDER-FILE: Time-Interval[s]: 0\r\n" +
                             std::string("SETPOINT-VALUE [\xB5m]: ") +
                             std::to_string(st.parameter.sys.setpoint) +
                             "\r\nSLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n";
  {
    // Room for the header and a line and a half of samples.
    FileSizeLimit limit(header.size() + 45);
    record();
  }
  EXPECT_EQ(s.status(), "Error writing recorder file!");
  const std::string text = readAll(st.rec_fname);
  EXPECT_EQ(linesOf(text).size(), 4u + static_cast<size_t>(count()));
  EXPECT_GE(count(), 1);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_LT(s.rt.Timer() - t0, 1.0);
  expectIdle();
}

TEST_F(Recording, FileThatCannotBeCreatedStartsNothing) {
  fs::create_directory(dir / "folder.dat");
  for (const fs::path& path : {dir / "no-such-folder" / "rec.dat", dir / "folder.dat"}) {
    st.rec_fname = path.string();
    record();
    EXPECT_EQ(s.status(), "Error writing recorder file!");
    EXPECT_EQ(runRequests(), 0u);
    EXPECT_FALSE(fs::is_regular_file(path));
    expectIdle();
  }
  // The empty folder of the recorder file's name is left alone.
  EXPECT_TRUE(fs::is_directory(dir / "folder.dat"));
}

TEST_F(Recording, DecliningEitherOverwriteQuestionChangesNothing) {
  const fs::path other = dir / "other.dat";
  std::ofstream(other, std::ios::binary) << "keep me";
  std::ofstream(st.rec_fname, std::ios::binary) << "keep me too";
  const std::string before = st.rec_fname;

  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, other.string()});
  s.rt.answerConfirm(0);
  s.click(st.pPopUp, pop::CMDBTNrecfile);
  s.rt.answerConfirm(0);
  record();

  EXPECT_EQ(st.rec_fname, before);
  EXPECT_EQ(s.ui().GetCtrlText(st.pPopUp, pop::TEXTRecFile), before);
  EXPECT_EQ(readAll(other), "keep me");
  EXPECT_EQ(readAll(before), "keep me too");
  EXPECT_EQ(runRequests(), 0u);
  expectIdle();
  const auto& d = s.rt.dialogs();
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].kind, "save");
  EXPECT_EQ(d[0].title, "Q-RIX-Series Recorder-File:");
  EXPECT_EQ(d[0].directory, st.proj_dir);
  EXPECT_EQ(d[0].defaultName, "RECORD.DAT");
  EXPECT_EQ(d[0].filter, "*.dat");
  EXPECT_EQ(d[1].title, "ATTENTION!");
  EXPECT_EQ(d[1].text, "Output-File already exist! - Overwrite ?");
  EXPECT_EQ(d[2].title, "ATTENTION !");
  EXPECT_EQ(d[2].text, "File already exist - overwrite ?");
}

TEST_F(Recording, ConfirmedChoiceDeletesTheFileAtOnceAndStartReplacesIt) {
  const fs::path chosen = dir / "chosen.dat";
  std::ofstream(chosen, std::ios::binary) << "old";
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, chosen.string()});
  s.rt.answerConfirm(1);
  s.click(st.pPopUp, pop::CMDBTNrecfile);
  EXPECT_FALSE(fs::exists(chosen));
  EXPECT_EQ(st.rec_fname, chosen.string());
  EXPECT_EQ(s.ui().GetCtrlText(st.pPopUp, pop::TEXTRecFile), chosen.string());

  std::ofstream(chosen, std::ios::binary) << "old again";
  s.rt.answerConfirm(1);
  settings(0, 2);
  record();
  EXPECT_EQ(fileLines().size(), 6u);
}

TEST_F(Recording, NoRecordingStartsInsideAnotherLoopAndNothingElseStartsInsideOne) {
  settings(0, 1000);
  // START during RUN is refused.
  s.rt.at(s.rt.Timer() + 0.5, [this] {
    commitPastDimming(st.pPopUp, pop::BTNStartRecord);
    s.click(st.pHandle, m::BTNStop);
  });
  s.click(st.pHandle, m::BTNRun);
  EXPECT_FALSE(fs::exists(st.rec_fname));

  // During a recording RUN, GET, a second START and the file choice are refused.
  s.rt.at(s.rt.Timer() + 0.5, [this] {
    const size_t before = s.requests().size();
    for (int c : {m::BTNRun, m::BTNGet}) commitPastDimming(st.pHandle, c);
    for (int c : {pop::BTNStartRecord, pop::CMDBTNrecfile}) commitPastDimming(st.pPopUp, c);
    EXPECT_EQ(s.requests().size(), before);
    s.click(st.pPopUp, pop::BTNStopRecord);
  });
  record();
  EXPECT_TRUE(s.rt.dialogs().empty());
  EXPECT_EQ(fileLines().size(), 4u + static_cast<size_t>(count()));
  EXPECT_NEAR(s.rt.Timer() - t0, 0.6, 0.1);
}

}  // namespace
}  // namespace qrix::testing
