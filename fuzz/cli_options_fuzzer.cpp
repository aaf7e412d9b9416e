// The command line of qrix-cli: any arguments (the input's pieces between NUL bytes).
//
// Promises checked:
// - a command line that was understood names a command (or asks for help or the version);
// - the commands that name a file have one, and record has its interval and sample count;
// - flash knows which sensor's bar shows the progress.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "support/arguments.h"
#include "support/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qrix::cli::Command;
  const std::vector<std::string_view> args = qrix::fuzz::splitArguments(data, size);
  const qrix::cli::CliOptions o = qrix::cli::parseCliOptions(args);
  if (!o.error.empty() || o.help || o.version) {
    return 0;
  }
  FUZZ_CHECK(o.command != Command::None, "an understood command line names a command");
  if (o.command == Command::Send || o.command == Command::Record || o.command == Command::Flash) {
    FUZZ_CHECK(!o.file.empty(), "send, record and flash have their file");
  }
  if (o.command == Command::Flash) {
    FUZZ_CHECK(o.master.has_value(), "flash knows its sensor");
  }
  FUZZ_CHECK(!o.port.empty(), "a port is named");
  return 0;
}
