#include "recorder/recorder_buttons.h"

#include "program/line_owner.h"
#include "program/program.h"
#include "recorder/recording.h"
#include "runtime/files.h"

namespace qrix {

namespace {

namespace pop = ids::popup;

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

}  // namespace

std::uint16_t runRecording(Program& p) {
  // The claim gives every button back, also when the file could not be created.
  ExclusiveLineClaim claim(p, LineUser::Recorder);
  if (!claim) {
    return 0;
  }
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const RecordingJob job{
      st.rec_fname, static_cast<std::uint16_t>(ui.GetCtrlVal(st.pPopUp, pop::NEDITRecTime)),
      static_cast<std::uint16_t>(ui.GetCtrlVal(st.pPopUp, pop::NEDITRecSamples))};
  // The recording keeps its file: another choice waits until it has ended.
  const bool fileButtonDimmed = ui.IsDimmed(st.pPopUp, pop::CMDBTNrecfile);
  bool started = false;
  RecordingEvents events;
  events.started = [&] {
    started = true;
    showRecordingGraphs(p);
    ui.SetDimmed(st.pPopUp, pop::CMDBTNrecfile, true);
    showRecorderState(p, true);
  };
  events.sampleWritten = [&](std::uint16_t count) {
    ui.SetCtrlVal(st.pPopUp, pop::NUMRecCount, count);
  };
  const std::uint16_t count = recordRun(p, job, events);
  if (started) {
    ui.SetDimmed(st.pPopUp, pop::CMDBTNrecfile, fileButtonDimmed);
    showRecorderState(p, false);
  }
  return count;
}

int CC_CMDBTNrecfile(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || p.st.lineUser == LineUser::Recorder) {
    return 0;
  }
  const FileSelection choice =
      p.selectFile("RECORD.DAT", "*.dat", "Q-RIX-Series Recorder-File:", FileDialogMode::Save,
                   FileDialogButton::Ok);
  if (choice.status == VAL_NO_FILE_SELECTED) {
    return 0;
  }
  if (choice.status == VAL_EXISTING_FILE_SELECTED) {
    // Declined: the path on screen stays the one START will use.
    if (p.rt.ConfirmPopup("ATTENTION!", "Output-File already exist! - Overwrite ?") != 1) {
      return 0;
    }
    files::DeleteFile(choice.path);
  }
  p.st.rec_fname = choice.path;
  p.ui().ResetTextBox(p.st.pPopUp, pop::TEXTRecFile, p.st.rec_fname);
  return 0;
}

int CC_BTNStartRecord(Program& p, int, int, int event) {
  // One exchange at a time: no recording starts inside RUN, VIDEO, DATA or a flash transfer.
  if (event != ui::EVENT_COMMIT || loopHoldsLine(p)) {
    return 0;
  }
  if (files::FileExists(p.st.rec_fname)) {
    if (p.rt.ConfirmPopup("ATTENTION !", "File already exist - overwrite ?") != 1) {
      return 0;
    }
    files::DeleteFile(p.st.rec_fname);
  }
  runRecording(p);
  return 0;
}

int CC_BTNStopRecord(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
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
