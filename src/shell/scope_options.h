#pragma once
// Command line of qrix-scope: the port to start on and an optional batch recording.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "recorder/record_batch.h"

namespace qrix {

struct ScopeOptions {
  std::string port;  // empty: the default port
  std::optional<BatchRecording> batch;
  bool help = false;
  bool version = false;
  std::string error;  // empty when the command line was understood
};

// `args` excludes the program name. Every option may be given once; a value may follow as the
// next argument or after '=' (--port=/dev/ttyUSB0).
ScopeOptions parseScopeOptions(std::span<const std::string_view> args);

std::string_view scopeUsageText();

}  // namespace qrix
