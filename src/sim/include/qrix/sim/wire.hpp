#pragma once

// Byte-level facts of the serial line between the PC and the master sensor:
// frame sizes, sync words, command codes and big-endian word access.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qrix::sim {

// 8N1: a start bit, eight data bits and a stop bit per byte at 19200 baud.
inline constexpr double kByteTime = 10.0 / 19200.0;

inline constexpr std::size_t kFrameSize = 36;
inline constexpr std::size_t kPayloadWords = 15;
inline constexpr std::size_t kRunWords = 16;
inline constexpr std::size_t kFirmwareTextSize = 72;
inline constexpr std::size_t kBufferWords = 128;
inline constexpr std::size_t kBlockWords = 64;
inline constexpr std::size_t kBlockSize = 2 * kBlockWords;
inline constexpr std::size_t kFlashWords = 2048;

inline constexpr std::uint16_t kRequestSync = 0x0055;
inline constexpr std::uint16_t kAnswerSync = 0x00AA;

enum class Command : std::uint16_t {
  kWriteRam = 1,
  kReadRam = 2,
  kWriteEeprom = 3,
  kReadEeprom = 4,
  kLineCheck = 5,
  kTeach = 6,
  kFirmwareText = 7,
  kRun = 8,
  kReadBlock = 9,
  kHardwareInfo = 10,
  kResetMaxMin = 11,
  kClearFlash = 101,
  kWriteFlash = 102,
};

using Payload = std::array<std::uint16_t, kPayloadWords>;

// The sensor knows only the commands above; any other command word marks a
// frame boundary that was guessed wrongly.
constexpr bool isKnownCommand(std::uint16_t word) {
  return (word >= 1 && word <= 11) || word == 101 || word == 102;
}

constexpr std::uint16_t getWord(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

constexpr void putWord(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t word) {
  bytes[offset] = static_cast<std::uint8_t>(word >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(word & 0xFF);
}

}  // namespace qrix::sim
