// The command line of qrix-scope: any arguments (the input's pieces between NUL bytes).
//
// Promises checked:
// - a command line that was understood never starts a batch recording without a file;
// - what was understood means the same when written out again in the options' plain form
//   (each option once, its value as the next argument).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/scope_options.h"
#include "support/arguments.h"
#include "support/fuzz_check.h"

namespace {

// The options in their plain spelling, each once.
std::vector<std::string> writtenOut(const qrix::ScopeOptions& o) {
  std::vector<std::string> args;
  if (!o.port.empty()) {
    args.insert(args.end(), {"--port", o.port});
  }
  if (o.batch) {
    args.insert(args.end(), {"--record", o.batch->path});
    if (o.batch->interval) {
      args.insert(args.end(), {"--rec-interval", std::to_string(*o.batch->interval)});
    }
    if (o.batch->samples) {
      args.insert(args.end(), {"--rec-samples", std::to_string(*o.batch->samples)});
    }
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> args = qrix::fuzz::splitArguments(data, size);
  const qrix::ScopeOptions o = qrix::parseScopeOptions(args);
  if (!o.error.empty() || o.help || o.version) {
    return 0;
  }
  if (o.batch) {
    FUZZ_CHECK(!o.batch->path.empty(), "a batch recording has a file");
  }

  const std::vector<std::string> again = writtenOut(o);
  const qrix::ScopeOptions r =
      qrix::parseScopeOptions(std::vector<std::string_view>(again.begin(), again.end()));
  FUZZ_CHECK(r.error.empty(), "the plain form of an understood command line is understood");
  FUZZ_CHECK(r.port == o.port && r.batch.has_value() == o.batch.has_value(),
             "the plain form means the same");
  if (o.batch) {
    FUZZ_CHECK(r.batch->path == o.batch->path && r.batch->interval == o.batch->interval &&
                   r.batch->samples == o.batch->samples,
               "the plain form records the same");
  }
  return 0;
}
