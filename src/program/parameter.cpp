#include "program/parameter.h"

#include <cstddef>

namespace qrix {

namespace {

constexpr std::uint16_t low(std::uint32_t v) {
  return static_cast<std::uint16_t>(v & 0xFFFF);
}
constexpr std::uint16_t high(std::uint32_t v) {
  return static_cast<std::uint16_t>(v >> 16);
}
constexpr std::uint32_t join(std::uint16_t lo, std::uint16_t hi) {
  return static_cast<std::uint32_t>(lo) | (static_cast<std::uint32_t>(hi) << 16);
}

// One table of word positions serves both directions, so packing and unpacking cannot drift.
template <typename Record, typename Visit>
void visitSys(Record& s, Visit&& word) {
  word(0, s.evalmode);
  word(1, s.trigmode);
  word(2, s.anamode);
  word(3, s.hwmode);
  word(4, s.average);
  word(5, s.polarity);
  word(6, s.toleranceLO);
  word(7, s.toleranceUP);
  for (int i = 0; i < 5; ++i) {
    word(8 + i, s.spare[static_cast<std::size_t>(i)]);
  }
}

template <typename Record, typename Visit>
void visitSensor(Record& s, Visit&& word) {
  word(0, s.power);
  word(1, s.pmode);
  word(2, s.videothd);
  word(3, s.teach);
  word(4, s.pixBegin);
  word(5, s.pixEnd);
  word(6, s.opmode);
  word(7, s.trigthd);
  for (int i = 0; i < 3; ++i) {
    word(8 + i, s.spare[static_cast<std::size_t>(i)]);
  }
}

}  // namespace

void CopyVarsToPP(const ParameterRecord& parameter, std::uint16_t frame, WordArray& pp) {
  auto put = [&pp](int index, std::uint16_t value) { pp[static_cast<std::size_t>(index)] = value; };
  if (frame == 0) {
    visitSys(parameter.sys, put);
    const auto setpoint = static_cast<std::uint32_t>(parameter.sys.setpoint);
    put(13, low(setpoint));
    put(14, high(setpoint));
  } else if (frame == 1 || frame == 2) {
    const SensorFrame& s = frame == 1 ? parameter.master : parameter.slave;
    visitSensor(s, put);
    put(11, low(s.scale));
    put(12, high(s.scale));
    put(13, low(s.spare32));
    put(14, high(s.spare32));
  }
}

void CopyPPtoVars(const WordArray& pp, std::uint16_t frame, ParameterRecord& parameter) {
  auto get = [&pp](int index, std::uint16_t& field) {
    field = pp[static_cast<std::size_t>(index)];
  };
  if (frame == 0) {
    visitSys(parameter.sys, get);
    parameter.sys.setpoint = static_cast<std::int32_t>(join(pp[13], pp[14]));
  } else if (frame == 1 || frame == 2) {
    SensorFrame& s = frame == 1 ? parameter.master : parameter.slave;
    visitSensor(s, get);
    s.scale = join(pp[11], pp[12]);
    s.spare32 = join(pp[13], pp[14]);
  }
}

RecordWords recordToWords(const ParameterRecord& record) {
  RecordWords words{};
  WordArray pp{};
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    CopyVarsToPP(record, frame, pp);
    for (int i = 0; i < kFrameWords; ++i) {
      words[static_cast<size_t>(frame * kFrameWords + i)] = pp[static_cast<size_t>(i)];
    }
  }
  return words;
}

void wordsToRecord(const RecordWords& words, ParameterRecord& record) {
  WordArray pp{};
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    for (int i = 0; i < kFrameWords; ++i) {
      pp[static_cast<size_t>(i)] = words[static_cast<size_t>(frame * kFrameWords + i)];
    }
    CopyPPtoVars(pp, frame, record);
  }
}

}  // namespace qrix
