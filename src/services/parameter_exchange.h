#pragma once
// The three parameter frames between the record and the sensor's RAM or EEPROM: reading them
// into the record or into a copy, and writing the record's frames.

#include <cstdint>
#include <optional>

#include "program/parameter.h"

namespace qrix {

struct Program;

// Whether a parameter read may store the answer it receives.
enum class StoreAnswer { Yes, No };

// Reads one parameter frame from RAM (target 1) or EEPROM (2) into the record, and shows the
// outcome in the status line. True when the frame arrived. With StoreAnswer::No the request and
// the wait are the same, but the record and the status text keep what they hold.
bool readParameterFrame(Program& p, std::uint16_t target, std::uint16_t frame,
                        StoreAnswer store = StoreAnswer::Yes);

// Whether the series ends on the pause that separates its frames: where a request follows on
// the line, it needs it; where nothing follows, it would only be waited for.
enum class PauseAfter { Yes, No };

// Reads frames 0, 1 and 2, 0.1 s apart. A parameter answer carries nothing that tells which
// frame it answers: after a time-out, a late answer would be taken for the next frame. So once a
// frame has timed out, no later frame of the series is stored, and the status line ends on the
// time-out. True when every frame was stored.
bool readParameterRecord(Program& p, std::uint16_t target, PauseAfter pause);

// The same series as the record's 45 words, leaving the record and the status text as they are;
// nothing when a frame timed out (the status then holds the time-out text, for the caller to
// show).
std::optional<RecordWords> readParameterWords(Program& p, std::uint16_t target,
                                              PauseAfter pause = PauseAfter::Yes);

// Writes the record's three frames to RAM or EEPROM, 0.1 s apart; the sensor does not answer a
// write. The status line says which frame went out. True when all three were written whole.
bool writeParameterRecord(Program& p, std::uint16_t target);

}  // namespace qrix
