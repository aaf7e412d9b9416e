#pragma once
// One RUN answer as monitor hands it on: a JSON object on one line with the time it was taken,
// its number in the run and what the window shows of it (the MASTER and SLAVE edges, the
// measured value in pixels and micrometres, and where it lies against the tolerance window).

#include <chrono>
#include <cstdint>
#include <string>

#include "program/run_stream.h"

namespace qrix::cli {

// "2026-12-09T14:20:01.123Z": UTC, milliseconds cut (not rounded), so times never run ahead.
std::string isoTimeUtc(std::chrono::system_clock::time_point at);

// {"time": ..., "seq": ..., "master_edge": ..., "slave_edge": ..., "value_px": ...,
//  "value_um": ..., "judgement": "inside"|"above"|"below"}, without a line end.
std::string answerJsonLine(const RunValues& values, std::uint64_t seq,
                           std::chrono::system_clock::time_point at);

}  // namespace qrix::cli
