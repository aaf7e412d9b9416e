#include "shell/scope_options.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <set>

namespace qrix {

namespace {

constexpr std::string_view kUsage =
    "Usage: qrix-scope [--port VALUE] [--record PATH [--rec-interval I] [--rec-samples N]]\n"
    "                  [--stats]\n"
    "Set-up and display tool for a Q-RIX thru-beam master/slave sensor pair.\n\n"
    "  --port VALUE        serial port to open at start-up:\n"
    "                      a port number as the port list shows it (default 1),\n"
    "                      a device path such as /dev/ttyUSB0 or /dev/pts/3,\n"
    "                      or 'sim' for the built-in simulated sensor pair\n"
    "  --record PATH       batch recording: after the identification, record into PATH\n"
    "                      (replaced if it exists) as the recorder's START does, then\n"
    "                      quit; exit status 0 only when every sample was written,\n"
    "                      otherwise 1 with the reason on stderr; without a sensor\n"
    "                      the file is left as it was\n"
    "  --rec-interval I    seconds between samples, 0..65535 (default 1)\n"
    "  --rec-samples N     samples to record, 0..65535 (default 100)\n"
    "  --stats             on exit (after a batch recording, or when the window\n"
    "                      closes), print the link's counters per exchange kind\n"
    "                      to stderr\n"
    "  --help              show this text\n"
    "  --version           show the version\n\n"
    "Without a display the window is drawn off screen (QT_QPA_PLATFORM=offscreen).\n";

// A whole number 0..65535, or nothing.
std::optional<std::uint16_t> wordArgument(std::string_view text) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

bool takesValue(std::string_view name) {
  return name == "--port" || name == "--record" || name == "--rec-interval" ||
         name == "--rec-samples";
}

}  // namespace

std::string_view scopeUsageText() {
  return kUsage;
}

ScopeOptions parseScopeOptions(std::span<const std::string_view> args) {
  ScopeOptions out;
  std::set<std::string_view> seen;
  const auto fail = [&out](std::string text) {
    out.error = std::move(text);
    return out;
  };
  const auto recording = [&out]() -> BatchRecording& {
    if (!out.batch) {
      out.batch.emplace();
    }
    return *out.batch;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> value;
    if (const std::size_t eq = name.find('='); name.starts_with("--") && eq != name.npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (name == "--help" || name == "-h") {
      out.help = true;
      return out;
    }
    if (name == "--version") {
      out.version = true;
      return out;
    }
    const bool flag = name == "--stats";
    if (!flag && !takesValue(name)) {
      return fail("unknown option '" + std::string(args[i]) + "'");
    }
    if (!seen.insert(name).second) {
      return fail(std::string(name) + " is given more than once");
    }
    if (flag) {
      if (value) {
        return fail(std::string(name) + " takes no value");
      }
      out.stats = true;
      continue;
    }
    if (!value) {
      if (i + 1 >= args.size()) {
        return fail(std::string(name) + " needs a value");
      }
      value = args[++i];
    }
    if (name == "--port") {
      if (value->empty()) {
        return fail("--port needs a value");
      }
      out.port = *value;
    } else if (name == "--record") {
      if (value->empty()) {
        return fail("--record needs a file path, not an empty one");
      }
      recording().path = *value;
    } else {
      const std::optional<std::uint16_t> number = wordArgument(*value);
      if (!number) {
        return fail(std::string(name) + " takes a whole number 0..65535");
      }
      (name == "--rec-interval" ? recording().interval : recording().samples) = number;
    }
  }
  if (out.batch && out.batch->path.empty()) {
    return fail("--rec-interval and --rec-samples need --record PATH");
  }
  return out;
}

}  // namespace qrix
