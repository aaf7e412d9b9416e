#pragma once
// A single RUN request with its answer, and 64-word blocks of the sensor's four buffers.

#include <cstdint>
#include <span>

#include "program/program_state.h"

namespace qrix {

struct Program;

// Sensor buffers a block request names.
enum SensorBuffer : std::uint16_t {
  kMasterVideo = 0,
  kSlaveVideo = 1,
  kMasterData = 2,
  kSlaveData = 3,
};

// 1 when a RUN answer arrived within TIMEOUT; otherwise "Timeout RS232-Line!" and stop_flag.
int PushGETRAW(Program& p);
// Reads words start..start+63 of a buffer into its array; 1 when exactly 128 bytes came.
// The receive notification must be off.
int ReadData64(Program& p, std::uint16_t start, std::uint16_t buffer);
struct BlockRequest {
  std::uint16_t start;
  std::uint16_t buffer;
};
// Reads the blocks in order, each only if the one before arrived, with the receive notification
// switched off (so the 128-byte answers are not taken for frames) and on again afterwards.
// 1 when the last block arrived.
int readBlocks(Program& p, std::span<const BlockRequest> blocks);
// One pass of VIDEO or DATA: a RUN exchange, then the four blocks of the video buffers (slave
// first) or of the measurement buffers (master first). True when the RUN answer and every block
// arrived. The caller holds the line.
bool readVideoPass(Program& p);
bool readDataPass(Program& p);

// The array a buffer number fills.
Line128* bufferArray(ProgramState& st, std::uint16_t buffer);

}  // namespace qrix
