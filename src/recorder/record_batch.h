#pragma once
// A recording without the window's buttons, for batch use from the command line: the recorder
// fields and file are set from the arguments and the recording runs as START runs it.

#include <cstdint>
#include <optional>
#include <string>

namespace qrix {

struct Program;

struct BatchRecording {
  std::string path;
  // Unset: the value the recorder panel holds.
  std::optional<std::uint16_t> interval;
  std::optional<std::uint16_t> samples;
};

// Records into `job.path` (replacing a file of that name; the path was named on purpose).
// True only when every sample was written; otherwise the status line says why.
bool recordBatch(Program& p, const BatchRecording& job);

}  // namespace qrix
