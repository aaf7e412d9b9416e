#include "recorder/recording.h"

#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "recorder/recorder_file.h"
#include "runtime/files.h"
#include "services/run_exchange.h"

namespace qrix {

namespace {

namespace pop = ids::popup;

constexpr const char* kWriteError = "Error writing recorder file!";

// Whole seconds of a timer reading, modulo 65536: the recorder's interval mark.
std::uint16_t wholeSeconds(double time) {
  return static_cast<std::uint16_t>(static_cast<std::uint64_t>(time));
}

void showRecordingGraphs(Program& p) {
  namespace m = ids::main;
  p.setMainVisible({m::GRAPHBarMaster, m::GRAPHBarSlave, m::GRAPHRaw}, true);
  p.setMainVisible({m::GRAPHVideoMaster, m::GRAPHVideoSlave}, false);
}

void showRecorderState(Program& p, bool active) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pPopUp;
  ui.SetCtrlText(panel, pop::TEXTRecState, active ? "DATA-RECORDER active ..." : "DATA-RECORDER");
  ui.SetBackColour(panel, pop::TEXTRecState, active ? ui::kRed : ui::kLightGrey);
  ui.SetTextColour(panel, pop::TEXTRecState, active ? ui::kWhite : ui::kBlack);
}

void showWriteError(Program& p) {
  p.storeStatusText(kWriteError);
  p.showStoredStatus();
}

RecorderSample sampleOf(const RunValues& v) {
  return {v.answer.Aval,    v.answer.Bval,   v.MvalueHeld,
          v.answer.umValue, v.answer.edcntA, v.answer.edcntB};
}

// Takes a line into the file from each RUN answer once the interval has passed since the last
// one: the interval is counted from the whole second in which the last line was taken.
class RecorderConsumer : public RunConsumer {
 public:
  RecorderConsumer(Program& p, RecorderFile& file, std::uint16_t interval)
      : p_(p), file_(file), interval_(interval), mark_(wholeSeconds(p.rt.Timer())) {}
  std::uint16_t count() const { return count_; }

  bool take(const RunValues& values) override {
    const auto elapsed = static_cast<std::uint16_t>(wholeSeconds(p_.rt.Timer()) - mark_);
    if (elapsed < interval_) return true;
    // The counter shows only what the file already holds.
    if (!file_.append(recorderSampleLine(sampleOf(values)))) {
      showWriteError(p_);
      return false;
    }
    ++count_;
    p_.ui().SetCtrlVal(p_.st.pPopUp, pop::NUMRecCount, count_);
    mark_ = wholeSeconds(p_.rt.Timer());
    return true;
  }

 private:
  Program& p_;
  RecorderFile& file_;
  std::uint16_t interval_;
  std::uint16_t mark_;
  std::uint16_t count_ = 0;
};

// The recording once the line is held and the file is open with its header.
std::uint16_t recordSamples(Program& p, RecorderFile& file, std::uint16_t interval,
                            std::uint16_t samples) {
  ProgramState& st = p.st;
  if (sendRunRequest(p) == kFrameBytes) p.showStatusText("Line Ok!");
  const double firstRequest = p.rt.Timer();
  RecorderConsumer recorder(p, file, interval);
  st.stop_flag = 0;
  st.graph_flag = 0;
  const RunStream::Listening listening = p.run.listen(recorder);
  runExchange(p, {TIMEOUT, firstRequest, [&] { return recorder.count() >= samples; }});
  return recorder.count();
}

}  // namespace

std::uint16_t runRecording(Program& p) {
  ExclusiveLineClaim claim(p, LineUser::Recorder);
  if (!claim) return 0;
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const auto samples = static_cast<std::uint16_t>(ui.GetCtrlVal(st.pPopUp, pop::NEDITRecSamples));
  const auto interval = static_cast<std::uint16_t>(ui.GetCtrlVal(st.pPopUp, pop::NEDITRecTime));

  // The file is made before the recording shows itself: a file that cannot be created starts
  // nothing, and the claim gives every button back. Only a file is removed, never a folder.
  if (files::FileExists(st.rec_fname)) files::DeleteFile(st.rec_fname);
  const std::time_t now = p.rt.CalendarTime();
  const std::string szTime = files::TimeStr(now);
  const std::string szDate = files::DateStr(now);
  RecorderFile file;
  if (!file.create(st.rec_fname) ||
      !file.append(recorderHeader(szDate, szTime, interval, st.parameter.sys.setpoint))) {
    showWriteError(p);
    return 0;
  }

  showRecordingGraphs(p);
  // The recording keeps its file: another choice waits until it has ended.
  const bool fileButtonDimmed = ui.IsDimmed(st.pPopUp, pop::CMDBTNrecfile);
  ui.SetDimmed(st.pPopUp, pop::CMDBTNrecfile, true);
  showRecorderState(p, true);

  const std::uint16_t count = recordSamples(p, file, interval, samples);

  st.rx_flag = 0;
  st.graph_flag = 0;
  discardQueues(p, Discard::InputFirst);
  // A write the system deferred can still fail at the close.
  if (!file.close()) showWriteError(p);
  ui.SetDimmed(st.pPopUp, pop::CMDBTNrecfile, fileButtonDimmed);
  showRecorderState(p, false);
  return count;
}

int CC_CMDBTNrecfile(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || p.st.lineUser == LineUser::Recorder) return 0;
  const FileSelection choice =
      p.selectFile("RECORD.DAT", "*.dat", "Q-RIX-Series Recorder-File:", FileDialogMode::Save,
                   FileDialogButton::Ok);
  if (choice.status == VAL_NO_FILE_SELECTED) return 0;
  if (choice.status == VAL_EXISTING_FILE_SELECTED) {
    // Declined: the path on screen stays the one START will use.
    if (p.rt.ConfirmPopup("ATTENTION!", "Output-File already exist! - Overwrite ?") != 1) return 0;
    files::DeleteFile(choice.path);
  }
  p.st.rec_fname = choice.path;
  p.ui().ResetTextBox(p.st.pPopUp, pop::TEXTRecFile, p.st.rec_fname);
  return 0;
}

int CC_BTNStartRecord(Program& p, int, int, int event) {
  // One exchange at a time: no recording starts inside RUN, VIDEO, DATA or a flash transfer.
  if (event != ui::EVENT_COMMIT || loopHoldsLine(p)) return 0;
  if (files::FileExists(p.st.rec_fname)) {
    if (p.rt.ConfirmPopup("ATTENTION !", "File already exist - overwrite ?") != 1) return 0;
    files::DeleteFile(p.st.rec_fname);
  }
  runRecording(p);
  return 0;
}

int CC_BTNStopRecord(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) return 0;
  ProgramState& st = p.st;
  st.stop_flag = 1;
  // A recording gives the buttons back their own states when it has ended.
  if (!loopOwnsButtons(p)) {
    namespace m = ids::main;
    p.setMainDimmed({m::BTNVideo, m::BTNRun, m::ButtonTeach, m::ButtonReset}, false);
    p.ui().SetDimmed(st.pPopUp, pop::BTNStartRecord, false);
  }
  p.rt.Delay(0.1);
  return 0;
}

}  // namespace qrix
