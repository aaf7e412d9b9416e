#pragma once
// qrix-cli stats FILE [--column NAME] [--lower L --upper U] [--json]: the figures of a recorder
// file's six columns, and for one column its capability and its answers inside, above and below
// the limits. Reads the file only: no port is opened.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recorder/recorder_reader.h"
#include "stats/capability.h"
#include "stats/judgement.h"
#include "stats/moments.h"

namespace qrix::cli {

// The recorder's columns in file order.
inline constexpr std::array<std::string_view, 6> kRecorderColumns = {
    "SLAVE", "MASTER", "MVAL", "MVAL[um]", "S_EDGE", "M_EDGE"};
// The index of a column by its name; none for a name the recorder does not write.
std::optional<std::size_t> recorderColumn(std::string_view name);
std::array<std::int64_t, 6> columnValues(const RecorderSample& s);

struct StatsLimits {
  std::size_t column = 2;  // MVAL
  double lower = 0, upper = 0;
};

struct RecordingStatistics {
  RecorderHeader header;
  std::array<stats::Summary, 6> columns;
  // With limits only.
  stats::JudgementCounters judged;
  stats::Capability capability;
};

// Reads the recording at `path` in one pass; false with the fault.
bool recordingStatistics(const std::string& path, const std::optional<StatsLimits>& limits,
                         RecordingStatistics& out, RecorderFault& fault);

// The arguments after "stats"; prints the result and returns the exit status. `stdoutClosed`:
// the program was started without stdout, so the result could go nowhere.
int runStatsCommand(const std::vector<std::string_view>& args, bool stdoutClosed = false);

}  // namespace qrix::cli
