#pragma once
// Packing of the 36-byte request and unpacking of the 36-byte answer. Pure functions on the
// program state's buffers: no port, no widget.

#include <cstdint>

#include "program/program_state.h"

namespace qrix {

inline constexpr int kFirmwareBytes = 72;
inline constexpr int kBlockBytes = 128;
inline constexpr int kBlockWords = 64;

// Big-endian word at byte offset i.
inline std::uint16_t wordAt(const std::uint8_t* bytes, int i) {
  return static_cast<std::uint16_t>((bytes[i] << 8) | bytes[i + 1]);
}

// szWriteBuf = 0x00 0x55, command, argument, then words 0..14 (high byte first).
void FillTxBuf(ProgramState& st, std::uint16_t command, std::uint16_t argument,
               const WordArray& words);
// Unpacks the frame in szReadBuf into pp: a RUN answer (echo 8) fills all 16 words from byte 4
// and gives 1; any other answer fills words 0..14 from byte 6 and gives 0.
int GetRxBuf(ProgramState& st);
// The same unpacking from a frame's bytes into a word array.
int unpackFrame(const std::uint8_t* frame, WordArray& words);
// The echo of the frame in szReadBuf.
std::uint16_t rxEcho(const ProgramState& st);
// Whether the frame in szReadBuf starts with the answer sync word 0x00AA; a frame taken out of
// step with the line (or noise) does not.
bool rxInSync(const ProgramState& st);

}  // namespace qrix
