#pragma once

// The three parameter frames the sensor pair keeps in RAM and in EEPROM:
// frame 0 the system settings, frame 1 the master's, frame 2 the slave's.

#include <array>
#include <cstddef>
#include <cstdint>

#include "qrix/sim/wire.hpp"

namespace qrix::sim {

using ParameterFrame = Payload;
using ParameterFrames = std::array<ParameterFrame, 3>;

inline constexpr std::size_t kSystemFrame = 0;
inline constexpr std::size_t kMasterFrame = 1;
inline constexpr std::size_t kSlaveFrame = 2;

// Word positions inside the system frame.
inline constexpr std::size_t kEvalModeWord = 0;
inline constexpr std::size_t kTrigModeWord = 1;
inline constexpr std::size_t kAnaModeWord = 2;
inline constexpr std::size_t kHwModeWord = 3;
inline constexpr std::size_t kAverageWord = 4;
inline constexpr std::size_t kPolarityWord = 5;

// Word positions inside a sensor frame.
inline constexpr std::size_t kPowerWord = 0;
inline constexpr std::size_t kPowerModeWord = 1;
inline constexpr std::size_t kTeachWord = 3;
inline constexpr std::size_t kScaleLowWord = 11;
inline constexpr std::size_t kScaleHighWord = 12;

// Factory contents of the EEPROM. The slave's teach value (600) differs from
// the master's (512) so that the two sensor frames can be told apart.
ParameterFrames defaultEepromFrames();

// Whether a payload can be the system settings at all: every mode within its
// range and the averaging count at most 2048. A single RUN request may carry
// left-over words of an earlier answer, which must not become settings.
bool isPlausibleSystemFrame(const ParameterFrame& frame);

// Micrometres per virtual pixel times 1024, stored low half first.
std::uint32_t scaleOf(const ParameterFrame& sensorFrame);

}  // namespace qrix::sim
