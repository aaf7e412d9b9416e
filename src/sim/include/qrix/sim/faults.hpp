#pragma once

// Switchable misbehaviour of the sensor pair, to exercise the PC side's
// time-outs and error paths. The default is a healthy sensor.

namespace qrix::sim {

struct Faults {
  bool silent = false;               // acts on requests but never transmits
  int answerEvery = 1;               // only every k-th answer is sent (k <= 1: all)
  bool wrongSync = false;            // 36-byte answers start 0x00 0xAB
  bool shortBlock = false;           // block answers lose their last byte (127 bytes)
  int extraBytes = 0;                // garbage bytes appended to every answer
  double noiseBytesPerAnswer = 0.0;  // mean count of random bytes sent ahead of an answer
  double extraDelay = 0.0;           // seconds added to the reaction time
  int hangUpAfter = -1;              // the line dies after this many requests (< 0: never)
  int silentAfter = -1;              // no answer after this many requests (< 0: always answer)
  bool ignoreWrites = false;         // parameter frames written to RAM or EEPROM are dropped
};

}  // namespace qrix::sim
