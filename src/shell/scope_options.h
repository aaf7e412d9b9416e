#pragma once
// Command line of qrix-scope: the port to start on, an optional batch recording, and whether to
// print the link's counters on exit.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "recorder/record_batch.h"

namespace qrix {

struct ScopeOptions {
  std::string port;  // empty: the default port
  std::optional<BatchRecording> batch;
  bool stats = false;  // the link's counters to stderr on exit
  bool help = false;
  bool version = false;
  std::string error;  // empty when the command line was understood
};

// `args` excludes the program name. Every option may be given once; a value may follow as the
// next argument or after '=' (--port=/dev/ttyUSB0).
ScopeOptions parseScopeOptions(std::span<const std::string_view> args);

std::string_view scopeUsageText();

}  // namespace qrix
