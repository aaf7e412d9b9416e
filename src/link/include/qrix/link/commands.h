#pragma once
// Command words of the sensor link. A frame answer repeats its command word as the echo.

#include <cstdint>

namespace qrix::cmd {

inline constexpr std::uint16_t kWriteRam = 1;     // parameter frame into RAM; no answer
inline constexpr std::uint16_t kReadRam = 2;      // parameter frame from RAM
inline constexpr std::uint16_t kWriteEeprom = 3;  // parameter frame into EEPROM; no answer
inline constexpr std::uint16_t kReadEeprom = 4;   // parameter frame from EEPROM
inline constexpr std::uint16_t kLineCheck = 5;
inline constexpr std::uint16_t kTeach = 6;
inline constexpr std::uint16_t kFirmwareText = 7;  // answered by 72 raw bytes
inline constexpr std::uint16_t kRun = 8;           // one set of current values
inline constexpr std::uint16_t kReadBlock = 9;     // answered by 128 raw bytes
inline constexpr std::uint16_t kHardwareInfo = 10;
inline constexpr std::uint16_t kResetMaxMin = 11;
inline constexpr std::uint16_t kClearFlash = 101;
inline constexpr std::uint16_t kWriteFlash = 102;

inline constexpr std::uint16_t kTxSync = 0x0055;  // first word of every request
inline constexpr std::uint16_t kRxSync = 0x00AA;  // first word of every frame answer

}  // namespace qrix::cmd
