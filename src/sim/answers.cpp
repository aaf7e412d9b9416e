#include "qrix/sim/answers.hpp"

#include <algorithm>
#include <array>

namespace qrix::sim {

namespace {

Bytes frameHeader(std::uint16_t echo) {
  Bytes bytes(kFrameSize, 0);
  putWord(bytes, 0, kAnswerSync);
  putWord(bytes, 2, echo);
  return bytes;
}

}  // namespace

Bytes frameAnswer(Command command, std::uint16_t reply, const Payload& payload) {
  Bytes bytes = frameHeader(static_cast<std::uint16_t>(command));
  putWord(bytes, 4, reply);
  for (std::size_t k = 0; k < kPayloadWords; ++k) {
    putWord(bytes, 6 + 2 * k, payload[k]);
  }
  return bytes;
}

Bytes runAnswer(const RunValues& v) {
  const auto um = static_cast<std::uint32_t>(v.micrometres);
  const std::array<std::uint16_t, kRunWords> words{
      v.masterEdge,
      v.slaveEdge,
      v.measured,
      static_cast<std::uint16_t>(um & 0xFFFF),
      static_cast<std::uint16_t>(um >> 16),
      v.potentiometer,
      v.masterEdgeCount,
      v.slaveEdgeCount,
      v.masterShadowWidth,
      v.slaveShadowWidth,
      v.heldMax,
      v.heldMin,
      v.masterTeach,
      v.slaveTeach,
      v.spare,
      v.inputState,
  };
  Bytes bytes = frameHeader(static_cast<std::uint16_t>(Command::kRun));
  for (std::size_t k = 0; k < kRunWords; ++k) {
    putWord(bytes, 4 + 2 * k, words[k]);
  }
  return bytes;
}

Bytes hardwareInfoAnswer(const HardwareInfo& hw) {
  const std::array<std::uint16_t, 11> words{
      hw.ccdType, hw.ccdMaxPixel, hw.ccdResolution, hw.pcbType, hw.ccdVirtPixel, hw.ccdSubPixel,
      hw.ccdPixB, hw.ccdPixE,     hw.softVersion,   hw.hwType,  hw.adcMax};
  Bytes bytes = frameHeader(static_cast<std::uint16_t>(Command::kHardwareInfo));
  for (std::size_t k = 0; k < words.size(); ++k) {
    putWord(bytes, 4 + 2 * k, words[k]);
  }
  return bytes;
}

Bytes firmwareTextAnswer(std::string_view text, std::uint16_t pcbType) {
  Bytes bytes(kFirmwareTextSize, 0);
  if (pcbType == 0) {
    const std::size_t count = std::min(text.size(), kFirmwareTextSize / 2);
    for (std::size_t k = 0; k < count; ++k) {
      bytes[2 * k + 1] = static_cast<std::uint8_t>(text[k]);
    }
  } else {
    const std::size_t count = std::min(text.size(), kFirmwareTextSize - 1);
    std::copy_n(text.begin(), count, bytes.begin());
  }
  return bytes;
}

Bytes blockAnswer(const SensorBuffer& buffer, std::uint16_t start) {
  Bytes bytes(kBlockSize, 0);
  for (std::size_t i = 0; i < kBlockWords && start + i < buffer.size(); ++i) {
    putWord(bytes, 2 * i, buffer[start + i]);
  }
  return bytes;
}

}  // namespace qrix::sim
