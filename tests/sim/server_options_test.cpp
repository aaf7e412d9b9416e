// Command line of the pseudo-terminal server: hardware presets and
// overrides, fault switches, and lines that must be refused.

#include "server_options.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace qrix::sim {
namespace {

ParsedOptions parse(std::vector<std::string_view> args) {
  return parseServerOptions(args);
}

TEST(ServerOptions, CcdTypePresetComesFirstWhereverItStandsAndSingleWordsOverrideIt) {
  const ParsedOptions p = parse({"--virt-pixel", "3072", "--ccd-type", "4", "--hw-type=0x2760",
                                 "--firmware", "304", "--pcb-type", "1"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.options.hardware.ccdType, 4);
  EXPECT_EQ(p.options.hardware.ccdMaxPixel, 512);
  EXPECT_EQ(p.options.hardware.adcMax, 256);
  EXPECT_EQ(p.options.hardware.ccdVirtPixel, 3072);
  EXPECT_EQ(p.options.hardware.hwType, 0x2760);
  EXPECT_EQ(p.options.hardware.softVersion, 304);
  EXPECT_EQ(p.options.hardware.pcbType, 1);
}

TEST(ServerOptions, EveryFaultSwitchReachesTheFaults) {
  const ParsedOptions p = parse({"--silent", "--answer-every", "3", "--wrong-sync", "--short-block",
                                 "--extra-bytes", "4", "--noise", "--delay", "0.25",
                                 "--hang-up-after", "7", "--reaction=0.01", "--no-pacing"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  const Faults& f = p.options.faults;
  EXPECT_TRUE(f.silent && f.wrongSync && f.shortBlock);
  EXPECT_EQ(f.answerEvery, 3);
  EXPECT_EQ(f.extraBytes, 4);
  EXPECT_GT(f.noiseBytesPerAnswer, 0.0);
  EXPECT_DOUBLE_EQ(f.extraDelay, 0.25);
  EXPECT_EQ(f.hangUpAfter, 7);
  EXPECT_DOUBLE_EQ(p.options.reactionTime, 0.01);
  EXPECT_FALSE(p.options.pacing);
}

TEST(ServerOptions, RefusesUnknownOptionsAndMissingOrOutOfRangeValues) {
  for (const auto& args : std::vector<std::vector<std::string_view>>{{"--bogus"},
                                                                     {"--delay"},
                                                                     {"--delay", "-1"},
                                                                     {"--answer-every", "0"},
                                                                     {"--extra-bytes", "-2"},
                                                                     {"--adc-max", "70000"},
                                                                     {"--ccd-type", "one"}}) {
    EXPECT_FALSE(parse(args).error.empty()) << args[0] << " " << (args.size() > 1 ? args[1] : "");
  }
  EXPECT_TRUE(parse({"--help"}).help);
}

}  // namespace
}  // namespace qrix::sim
