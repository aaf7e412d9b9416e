#pragma once
// The parameter record: the three parameter frames of the sensor pair as program fields, and the
// word array `pp` that every frame packs from and unpacks into.

#include <array>
#include <cstdint>

namespace qrix {

inline constexpr int kFrameWords = 15;  // payload words of a frame
inline constexpr int kPpWords = 16;     // a RUN answer fills one more

using WordArray = std::array<std::uint16_t, kPpWords>;

// Frame 0: settings common to the pair.
struct SysFrame {
  std::uint16_t evalmode = 1;
  std::uint16_t trigmode = 0;
  std::uint16_t anamode = 0;
  std::uint16_t hwmode = 1;
  std::uint16_t average = 1;
  std::uint16_t polarity = 1;
  std::uint16_t toleranceLO = 100;
  std::uint16_t toleranceUP = 100;
  std::array<std::uint16_t, 5> spare{};
  std::int32_t setpoint = 16000;  // micrometres
};

// Frames 1 (master) and 2 (slave).
struct SensorFrame {
  std::uint16_t power = 500;
  std::uint16_t pmode = 1;
  std::uint16_t videothd = 50;
  std::uint16_t teach = 512;
  std::uint16_t pixBegin = 1;
  std::uint16_t pixEnd = 4096;
  std::uint16_t opmode = 0;
  std::uint16_t trigthd = 50;
  std::array<std::uint16_t, 3> spare{};
  std::uint32_t scale = 1024;  // micrometres per virtual pixel times 1024
  std::uint32_t spare32 = 37000;
};

struct ParameterRecord {
  std::uint16_t sync = 0x0055;
  std::uint16_t cmd = 1;
  std::uint16_t arg = 0;
  SysFrame sys;
  SensorFrame master;
  SensorFrame slave;
};

// Packs frame 0, 1 or 2 of the record into words 0..14 of pp; any other frame number and
// word 15 are left alone.
void CopyVarsToPP(const ParameterRecord& parameter, std::uint16_t frame, WordArray& pp);
// The exact inverse.
void CopyPPtoVars(const WordArray& pp, std::uint16_t frame, ParameterRecord& parameter);

// The record as the 45 words of frames 0, 1 and 2, as they travel and as a parameter file holds
// them.
inline constexpr int kRecordWords = 3 * kFrameWords;
using RecordWords = std::array<std::uint16_t, kRecordWords>;
RecordWords recordToWords(const ParameterRecord& record);
// The record takes the 45 words, frame by frame (the exact inverse).
void wordsToRecord(const RecordWords& words, ParameterRecord& record);

}  // namespace qrix
