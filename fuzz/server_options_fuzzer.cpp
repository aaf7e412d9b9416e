// The command line of qrix-sensor-sim: any arguments (the input's pieces between NUL bytes).
//
// Promises checked:
// - a command line that was understood holds only what the options allow: times within
//   0..3600 s, an answer at least every request count, counts within their range;
// - what was understood means the same when written out again in the options' plain form.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "server_options.hpp"
#include "support/arguments.h"
#include "support/fuzz_check.h"

namespace {

using qrix::sim::ParsedOptions;
using qrix::sim::ServerOptions;

std::string exact(double seconds) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", seconds);
  return text;
}

// The options in their plain spelling: the CCD type first, the single hardware words after it.
std::vector<std::string> writtenOut(const ServerOptions& o) {
  const auto& hw = o.hardware;
  std::vector<std::string> args = {"--ccd-type",     std::to_string(hw.ccdType),
                                   "--pcb-type",     std::to_string(hw.pcbType),
                                   "--firmware",     std::to_string(hw.softVersion),
                                   "--adc-max",      std::to_string(hw.adcMax),
                                   "--virt-pixel",   std::to_string(hw.ccdVirtPixel),
                                   "--hw-type",      std::to_string(hw.hwType),
                                   "--reaction",     exact(o.reactionTime),
                                   "--delay",        exact(o.faults.extraDelay),
                                   "--answer-every", std::to_string(o.faults.answerEvery),
                                   "--extra-bytes",  std::to_string(o.faults.extraBytes)};
  if (o.faults.hangUpAfter >= 0) {
    args.insert(args.end(), {"--hang-up-after", std::to_string(o.faults.hangUpAfter)});
  }
  if (o.faults.silentAfter >= 0) {
    args.insert(args.end(), {"--silent-after", std::to_string(o.faults.silentAfter)});
  }
  if (!o.pacing) {
    args.push_back("--no-pacing");
  }
  if (o.faults.silent) {
    args.push_back("--silent");
  }
  if (o.faults.wrongSync) {
    args.push_back("--wrong-sync");
  }
  if (o.faults.shortBlock) {
    args.push_back("--short-block");
  }
  if (o.faults.noiseBytesPerAnswer > 0) {
    args.push_back("--noise");
  }
  return args;
}

bool same(const ServerOptions& a, const ServerOptions& b) {
  const auto& x = a.hardware;
  const auto& y = b.hardware;
  return x.ccdType == y.ccdType && x.ccdMaxPixel == y.ccdMaxPixel &&
         x.ccdResolution == y.ccdResolution && x.pcbType == y.pcbType &&
         x.ccdVirtPixel == y.ccdVirtPixel && x.ccdSubPixel == y.ccdSubPixel &&
         x.ccdPixB == y.ccdPixB && x.ccdPixE == y.ccdPixE && x.softVersion == y.softVersion &&
         x.hwType == y.hwType && x.adcMax == y.adcMax && a.reactionTime == b.reactionTime &&
         a.pacing == b.pacing && a.faults.silent == b.faults.silent &&
         a.faults.answerEvery == b.faults.answerEvery && a.faults.wrongSync == b.faults.wrongSync &&
         a.faults.shortBlock == b.faults.shortBlock && a.faults.extraBytes == b.faults.extraBytes &&
         a.faults.noiseBytesPerAnswer == b.faults.noiseBytesPerAnswer &&
         a.faults.extraDelay == b.faults.extraDelay &&
         a.faults.hangUpAfter == b.faults.hangUpAfter &&
         a.faults.silentAfter == b.faults.silentAfter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> args = qrix::fuzz::splitArguments(data, size);
  const ParsedOptions parsed = qrix::sim::parseServerOptions(args);
  if (!parsed.error.empty() || parsed.help) {
    return 0;
  }
  const ServerOptions& o = parsed.options;
  FUZZ_CHECK(o.reactionTime >= 0 && o.reactionTime < 3600, "the reaction time is 0..3600 s");
  FUZZ_CHECK(o.faults.extraDelay >= 0 && o.faults.extraDelay < 3600, "the delay is 0..3600 s");
  FUZZ_CHECK(o.faults.answerEvery >= 1 && o.faults.answerEvery <= 1000000,
             "answers come at least every millionth request");
  FUZZ_CHECK(o.faults.extraBytes >= 0 && o.faults.extraBytes <= 1000000, "extra bytes in range");
  FUZZ_CHECK(o.faults.hangUpAfter >= -1 && o.faults.hangUpAfter <= 1000000, "hang-up in range");
  FUZZ_CHECK(o.faults.silentAfter >= -1 && o.faults.silentAfter <= 1000000, "silence in range");

  const std::vector<std::string> again = writtenOut(o);
  const ParsedOptions r =
      qrix::sim::parseServerOptions(std::vector<std::string_view>(again.begin(), again.end()));
  FUZZ_CHECK(r.error.empty() && !r.help,
             "the plain form of an understood command line is understood");
  FUZZ_CHECK(same(r.options, o), "the plain form means the same");
  return 0;
}
