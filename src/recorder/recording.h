#pragma once
// The data recorder: its own RUN exchange, whose answers go to every consumer of RUN values as
// during RUN and, once per interval of whole seconds, are appended to the recorder file.

#include <cstdint>
#include <functional>
#include <string>

namespace qrix {

struct Program;

// What a recording takes: the file (an existing one is replaced), the interval in whole seconds
// between lines (0: every answer) and the number of lines.
struct RecordingJob {
  std::string path;
  std::uint16_t interval = 0;
  std::uint16_t samples = 0;
};
// What the front end hears of a recording: that its file was made and it runs, and each line
// the file holds.
struct RecordingEvents {
  std::function<void()> started;
  std::function<void(std::uint16_t count)> sampleWritten;
};

// Runs one recording, with the line held by the caller: a RUN exchange whose answers go to the
// program's RUN stream (and so to every display of it), and once per interval into the file,
// until the count is reached, stop_flag rises, the line falls silent or the file cannot be
// written ("Error writing recorder file!"). Returns the number of sample lines written.
std::uint16_t recordRun(Program& p, const RecordingJob& job, const RecordingEvents& events = {});

}  // namespace qrix
