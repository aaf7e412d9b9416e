#pragma once
// Programming of the sensor's external flash (X-FLASH) with the linearisation table: one clear
// frame, then the 2048 words in 256 frames of 8, pages 2 to 9 of 256 words each, every frame
// awaiting its answer.

#include <array>
#include <cstdint>
#include <functional>

namespace qrix {

struct Program;

inline constexpr int kLinWords = 2048;
using LinTable = std::array<std::uint16_t, kLinWords>;

// The data frames of a whole table.
inline constexpr int kXFlashFrames = 256;

// Hears of the frames as they are answered: the table index of the frame's first word, for
// every answer and for every answer that confirmed the frame.
struct FlashProgress {
  std::function<void(int word)> answered;
  std::function<void(int word)> confirmed;
};

// Sends the clear frame and waits: true when it was answered in time.
bool clearFlash(Program& p);
// Sends the 8 words of `table` at page `page` (2..9), offset `offset` (0..248) and waits. True
// when the answer echoes that offset and page. A block outside the table is not sent (false).
bool writeFlashBlock(Program& p, std::uint16_t offset, std::uint16_t page, const LinTable& table,
                     const FlashProgress& progress = {});

struct FlashTransfer {
  bool complete = false;  // the clear frame and every data frame were confirmed
  int confirmed = 0;      // data frames the sensor confirmed
};

// Clears the flash and writes the table into it; complete when every frame was answered as
// sent, and the status line says which. A lost line ends it at once, a silent sensor after three
// time-outs in a row, and the program quitting after the frame in flight.
FlashTransfer writeFlashTable(Program& p, const LinTable& table,
                              const FlashProgress& progress = {});

}  // namespace qrix
