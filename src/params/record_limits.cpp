#include "params/record_limits.h"

#include <algorithm>

#include "program/program.h"

namespace qrix {

std::uint16_t clampLine(std::int32_t value, std::uint16_t n) {
  return static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, n));
}

std::uint16_t videoThresholdCounts(std::uint16_t adcmax, std::uint16_t percent) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(adcmax) * percent / 100u);
}

std::vector<LimitedField> LimitParameters(Program& p) {
  ParaFileWords words = recordToWords(p.st.parameter);
  std::vector<LimitedField> limited = limitFields(words, p.st.ccdvirtpixel);
  if (!limited.empty()) {
    wordsToRecord(words, p.st.parameter);
  }
  return limited;
}

void SetThresholds(Program& p) {
  ProgramState& st = p.st;
  const ParameterRecord& r = st.parameter;
  const std::uint16_t n = st.ccdvirtpixel;
  // Both sensors share the one tolerance window of frame 0.
  const std::uint16_t upA = clampLine(std::int32_t{r.master.teach} + r.sys.toleranceUP, n);
  const std::uint16_t loA = clampLine(std::int32_t{r.master.teach} - r.sys.toleranceLO, n);
  const std::uint16_t upB = clampLine(std::int32_t{r.slave.teach} + r.sys.toleranceUP, n);
  const std::uint16_t loB = clampLine(std::int32_t{r.slave.teach} - r.sys.toleranceLO, n);
  st.thdArrayA.fill(videoThresholdCounts(st.ADCMAX, r.master.videothd));
  st.thdArrayB.fill(videoThresholdCounts(st.ADCMAX, r.slave.videothd));
  st.trgBUFA.fill(r.master.trigthd);
  st.trgBUFB.fill(r.slave.trigthd);
  st.refTHDA.fill(r.master.teach);
  st.refTHDB.fill(r.slave.teach);
  st.upTHDA.fill(upA);
  st.upTHDB.fill(upB);
  st.loTHDA.fill(loA);
  st.loTHDB.fill(loB);
}

}  // namespace qrix
