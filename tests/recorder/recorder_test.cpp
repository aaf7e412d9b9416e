// The recorder file's text byte for byte, the duration display, and recordings against the
// simulated pair on the virtual clock: the file as it grows, the interval (also across the 16-bit
// wrap of the mark), the ends (count, silent line, a failed write), the overwrite questions, and
// the line held alone while recording.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "recorder/rec_time.h"
#include "recorder/recorder_file.h"
#include "recorder/recording.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;
namespace m = ids::main;
namespace pop = ids::popup;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RecorderFileText, HeaderColumnsAndSamplesAreTabSeparatedWithCrLf) {
  const std::string text = recorderHeader("07-31-2026", "23:05:09", 65535, -1500) +
                           recorderSampleLine({65535, 2048, 17, -123456, 0, 3});
  EXPECT_EQ(text,
            "07-31-2026 23:05:09\r\n"
            "Q-RIX-RECORDER-FILE: Time-Interval[s]: 65535\r\n"
            "SETPOINT-VALUE [\xB5m]: -1500\r\n"
            "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n"
            "65535\t2048\t17\t-123456\t0\t3\r\n");
}

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    ASSERT_EQ(s.start(), 0);
    st.rec_fname = (dir / "rec.dat").string();
    s.ui().ResetTextBox(st.pPopUp, pop::TEXTRecFile, st.rec_fname);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Presses START; the recording runs to its end inside the click.
  void record(int interval, int samples) {
    s.ui().SetCtrlVal(st.pPopUp, pop::NEDITRecTime, interval);
    s.ui().SetCtrlVal(st.pPopUp, pop::NEDITRecSamples, samples);
    t0 = s.rt.Timer();
    first = s.requests().size();
    s.click(st.pPopUp, pop::BTNStartRecord);
  }
  std::size_t sent() const { return s.requests().size() - first; }
  std::size_t count() { return std::size_t(s.ui().GetCtrlVal(st.pPopUp, pop::NUMRecCount)); }
  // Whole lines in the file; a part line at its end counts as one more.
  std::size_t fileLines() {
    const std::string text = readAll(st.rec_fname);
    return std::size_t(std::ranges::count(text, '\n')) + !(text.empty() || text.ends_with("\r\n"));
  }
  void expectEveryCountedLineInTheFile() { EXPECT_EQ(fileLines(), 4 + count()); }
  // The recorder idle, with the buttons the recording dimmed given back.
  bool idle() {
    return s.ui().GetCtrlText(st.pPopUp, pop::TEXTRecState) == "DATA-RECORDER" &&
           !s.ui().IsDimmed(st.pHandle, m::BTNRun) && !s.ui().IsDimmed(st.pHandle, m::BTNGet) &&
           !s.ui().IsDimmed(st.pPopUp, pop::BTNStartRecord) &&
           !s.ui().IsDimmed(st.pPopUp, pop::CMDBTNrecfile);
  }
  fs::path dir = fs::temp_directory_path() / ("qrix-rec-" + std::to_string(processId()));
  Scope s;
  ProgramState& st = s.p.st;
  double t0 = 0;
  std::size_t first = 0;
};

TEST_F(Recording, LongestDurationShowsDaysHoursMinutesSeconds) {
  s.ui().SetCtrlVal(st.pPopUp, pop::NEDITRecTime, 65535);
  s.ui().SetCtrlVal(st.pPopUp, pop::NEDITRecSamples, 65535);
  s.commit(st.pPopUp, pop::NEDITRecSamples);
  // 65535 * 65535 s does not fit 32 signed bits; unsigned it is 49708 d 18 h 3 min 45 s.
  std::vector<double> shown;
  for (int c : {pop::NUMRecDays, pop::NUMRecHours, pop::NUMRecMinutes, pop::NUMRecSeconds}) {
    shown.push_back(s.ui().GetCtrlVal(st.pPopUp, c));
  }
  EXPECT_EQ(shown, (std::vector<double>{49708, 18, 3, 45}));
}

TEST_F(Recording, EveryAnswerAtIntervalZeroIsWrittenAndEachCountedLineIsInTheFileAtOnce) {
  std::size_t countedDuring = 0;
  s.rt.at(s.rt.Timer() + 0.1, [&] {
    countedDuring = count();
    expectEveryCountedLineInTheFile();
  });
  // The 14th of March: day and month cannot be taken for each other.
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 14;
  local.tm_hour = 15;
  local.tm_min = 9;
  local.tm_sec = 26;
  local.tm_isdst = -1;
  s.rt.setCalendarTime(std::mktime(&local));
  record(0, 5);
  EXPECT_GT(countedDuring, 0u);
  // Five answers, five samples; the request sent with the fifth sample goes unanswered.
  EXPECT_EQ(sent(), 6u);
  ASSERT_EQ(fileLines(), 9u);
  const std::string text = readAll(st.rec_fname);
  // The date and time of the start, the interval, the record's set point (µ in Latin-1), the
  // column names; the last line is the fifth answer of the simulated pair.
  const std::string header =
      "03-14-2026 15:09:26\r\n"
      "Q-RIX-RECORDER-FILE: Time-Interval[s]: 0\r\n"
      "SETPOINT-VALUE [\xB5m]: 16000\r\n"
      "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n";
  const std::string last = "1716\t2396\t1716\t1716\t2\t1\r\n";
  EXPECT_EQ(text.substr(0, header.size()), header);
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
  EXPECT_TRUE(idle());
}

TEST_F(Recording, NoSamplesWritesTheHeaderAndEndsAtOnce) {
  record(1, 0);
  EXPECT_EQ(fileLines(), 4u);
  EXPECT_LT(s.rt.Timer() - t0, 0.01);
}

TEST_F(Recording, IntervalIsMeasuredAcrossTheWrapOfTheSixteenBitMark) {
  // Nothing is under way on the line, so the clock may jump instead of pumping there.
  s.rt.Delay(65533.5 - s.rt.Timer());
  s.rt.at(65533.5 + 30, [this] { st.stop_flag = 1; });
  record(2, 4);
  EXPECT_EQ(count(), 4u);
  // The mark drops the start's half second: samples at 65535, 65537, 65539, 65541.
  EXPECT_NEAR(s.rt.Timer() - t0, 7.5, 0.1);
}

TEST_F(Recording, ASilentLineEndsTheRecordingWithEveryCountedLineInTheFile) {
  sim::Faults hangUp;
  hangUp.hangUpAfter = 7;
  s.sensor->setFaults(hangUp);
  record(0, 100);
  EXPECT_EQ(count(), 7u);
  expectEveryCountedLineInTheFile();
  EXPECT_TRUE(idle());
}

#ifndef _WIN32  // a file size limit makes the write fail; Windows has none
TEST_F(Recording, AFailedWriteEndsTheRecordingAndLeavesOnlyWholeLines) {
  // Room for the header and a line and a half of samples.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit low = old;
  low.rlim_cur = recorderHeader("01-01-2026", "00:00:00", 0, st.parameter.sys.setpoint).size() + 45;
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &low);
  record(0, 100);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(s.status(), "Error writing recorder file!");
  EXPECT_GE(count(), 1u);
  EXPECT_LT(count(), 100u);
  expectEveryCountedLineInTheFile();
}
#endif

TEST_F(Recording, AFileThatCannotBeCreatedStartsNothing) {
  fs::create_directory(dir / "folder.dat");
  for (const fs::path& path : {dir / "no-such-folder" / "rec.dat", dir / "folder.dat"}) {
    st.rec_fname = path.string();
    record(0, 5);
    EXPECT_EQ(s.status(), "Error writing recorder file!");
    EXPECT_EQ(sent(), 0u);
    EXPECT_TRUE(idle());
  }
  // The empty folder of the recorder file's name is left alone.
  EXPECT_TRUE(fs::is_directory(dir / "folder.dat"));
}

TEST_F(Recording, DecliningEitherOverwriteQuestionChangesNothingConfirmingReplacesTheFile) {
  const fs::path other = dir / "other.dat";
  std::ofstream(other) << "keep me";
  std::ofstream(st.rec_fname) << "keep me too";
  const std::string before = st.rec_fname;
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, other.string()});
  s.rt.answerConfirm(0);
  s.click(st.pPopUp, pop::CMDBTNrecfile);
  EXPECT_EQ(s.rt.dialogs().front().button, "OK");
  s.rt.answerConfirm(0);
  record(0, 2);
  EXPECT_EQ(st.rec_fname, before);
  EXPECT_EQ(s.ui().GetCtrlText(st.pPopUp, pop::TEXTRecFile), before);
  EXPECT_EQ(readAll(other), "keep me");
  EXPECT_EQ(readAll(before), "keep me too");
  EXPECT_EQ(sent(), 0u);
  EXPECT_TRUE(idle());

  // Confirmed, the chosen file goes at once, and START records over a file of its name.
  s.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, other.string()});
  s.rt.answerConfirm(1);
  s.click(st.pPopUp, pop::CMDBTNrecfile);
  EXPECT_FALSE(fs::exists(other));
  std::ofstream(other) << "old";
  s.rt.answerConfirm(1);
  record(0, 2);
  EXPECT_EQ(fileLines(), 6u);
}

// The recording holds the line alone: RUN, GET, a second START and the file choice are refused
// even past the dimming, and either STOP leaves the dimming to the recording. Nor does a
// recording start inside RUN.
TEST_F(Recording, NothingElseStartsInsideARecordingNorARecordingInsideRun) {
  bool triedInsideRun = false, triedInsideRecording = false;
  s.rt.at(s.rt.Timer() + 0.5, [&] {
    triedInsideRun = true;
    s.commitPastDimming(st.pPopUp, pop::BTNStartRecord);
    s.click(st.pHandle, m::BTNStop);
  });
  s.click(st.pHandle, m::BTNRun);
  EXPECT_TRUE(triedInsideRun);
  EXPECT_FALSE(fs::exists(st.rec_fname));

  s.rt.at(s.rt.Timer() + 0.5, [&] {
    triedInsideRecording = true;
    const std::size_t before = s.requests().size();
    for (int c : {m::BTNRun, m::BTNGet}) {
      s.commitPastDimming(st.pHandle, c);
    }
    for (int c : {pop::BTNStartRecord, pop::CMDBTNrecfile}) {
      s.commitPastDimming(st.pPopUp, c);
    }
    EXPECT_EQ(s.requests().size(), before);
    for (auto [panel, stop] :
         {std::pair{st.pHandle, m::BTNStop}, {st.pPopUp, pop::BTNStopRecord}}) {
      s.click(panel, stop);
      EXPECT_TRUE(s.ui().IsDimmed(st.pHandle, m::BTNRun)) << stop;
    }
  });
  record(0, 1000);
  EXPECT_TRUE(triedInsideRecording);
  EXPECT_TRUE(s.rt.dialogs().empty());
  EXPECT_LT(count(), 1000u);
}

}  // namespace
}  // namespace qrix::testing
