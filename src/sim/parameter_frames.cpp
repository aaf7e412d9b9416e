#include "qrix/sim/parameter_frames.hpp"

namespace qrix::sim {

ParameterFrames defaultEepromFrames() {
  const ParameterFrame system{1, 0, 0, 1, 1, 1, 100, 100, 0, 0, 0, 0, 0, 16000, 0};
  const ParameterFrame master{500, 1, 50, 512, 1, 4096, 0, 50, 0, 0, 0, 1024, 0, 37000, 0};
  ParameterFrame slave = master;
  slave[kTeachWord] = 600;
  return {system, master, slave};
}

bool isPlausibleSystemFrame(const ParameterFrame& frame) {
  return frame[kEvalModeWord] <= 4 && frame[kTrigModeWord] <= 3 && frame[kAnaModeWord] <= 4 &&
         frame[kHwModeWord] <= 4 && frame[kAverageWord] <= 2048 && frame[kPolarityWord] <= 1;
}

std::uint32_t scaleOf(const ParameterFrame& sensorFrame) {
  return static_cast<std::uint32_t>(sensorFrame[kScaleHighWord]) << 16 | sensorFrame[kScaleLowWord];
}

}  // namespace qrix::sim
