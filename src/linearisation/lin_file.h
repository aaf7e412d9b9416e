#pragma once
// The linearisation file: 2048 signed correction values, one decimal number per line, that the
// sensor's external flash holds as unsigned words (value + 32767, kept to 16 bits).

#include <cstdint>
#include <optional>
#include <string>

#include "services/flash_table.h"

namespace qrix {

struct Program;

// ReadLinDataFromFile results.
inline constexpr int kLinFileLoaded = 0;
inline constexpr int kLinFileCancelled = 1;
inline constexpr int kLinFileError = -1;

// The values the flash can hold: a value is stored as value + 32767, so -32768 would wrap round
// to the top of the range.
inline constexpr std::int64_t kLinMin = -32767;
inline constexpr std::int64_t kLinMax = 32767;
inline constexpr bool linValueInRange(std::int64_t value) {
  return value >= kLinMin && value <= kLinMax;
}

// The flash word of one file value within that range.
std::uint16_t linWord(std::int16_t value);

// The flash words of a file's first 2048 values; none when the file does not hold 2048 numbers
// within the flash's range.
std::optional<LinTable> parseLinFile(const std::string& path);

// Load dialog, then the first 2048 values of the chosen file into `values`. A file that does not
// hold 2048 numbers within the flash's range leaves `values` as it was and says so in the status
// line; a cancelled dialog leaves it silently.
int ReadLinDataFromFile(Program& p, LinTable& values);

}  // namespace qrix
