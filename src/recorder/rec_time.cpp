#include "recorder/rec_time.h"

#include "program/program.h"

namespace qrix {

Duration splitDuration(std::uint32_t t) {
  const std::uint32_t days = t / 86400;
  t -= days * 86400;
  const std::uint32_t hours = t / 3600;
  t -= hours * 3600;
  const std::uint32_t minutes = t / 60;
  return {static_cast<std::uint16_t>(days), static_cast<std::uint16_t>(hours),
          static_cast<std::uint16_t>(minutes), static_cast<std::uint16_t>(t - minutes * 60)};
}

void CalcRecTime(Program& p) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.pPopUp;
  const auto interval = static_cast<std::uint16_t>(ui.GetCtrlVal(panel, ids::popup::NEDITRecTime));
  const auto samples =
      static_cast<std::uint16_t>(ui.GetCtrlVal(panel, ids::popup::NEDITRecSamples));
  ui.SetCtrlVal(panel, ids::popup::NUMRecCount, 0);
  const Duration d = splitDuration(std::uint32_t{interval} * samples);
  ui.SetCtrlVal(panel, ids::popup::NUMRecDays, d.days);
  ui.SetCtrlVal(panel, ids::popup::NUMRecHours, d.hours);
  ui.SetCtrlVal(panel, ids::popup::NUMRecMinutes, d.minutes);
  ui.SetCtrlVal(panel, ids::popup::NUMRecSeconds, d.seconds);
}

}  // namespace qrix
