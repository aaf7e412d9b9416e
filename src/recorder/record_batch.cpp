#include "recorder/record_batch.h"

#include "program/program.h"
#include "recorder/rec_time.h"
#include "recorder/recorder_buttons.h"

namespace qrix {

bool recordBatch(Program& p, const BatchRecording& job) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pPopUp;
  namespace pop = ids::popup;
  if (job.interval) {
    ui.SetCtrlVal(panel, pop::NEDITRecTime, *job.interval);
  }
  if (job.samples) {
    ui.SetCtrlVal(panel, pop::NEDITRecSamples, *job.samples);
  }
  CalcRecTime(p);
  p.st.rec_fname = job.path;
  ui.ResetTextBox(panel, pop::TEXTRecFile, p.st.rec_fname);
  const auto wanted = static_cast<std::uint16_t>(ui.GetCtrlVal(panel, pop::NEDITRecSamples));
  return runRecording(p) == wanted;
}

}  // namespace qrix
