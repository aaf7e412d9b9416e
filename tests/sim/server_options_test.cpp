// The simulator server's command line: the hardware it reports, the faults it injects, its
// reaction time, and the command lines it refuses with the option named.

#include "server_options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qrix::sim {
namespace {

ParsedOptions parse(std::vector<std::string_view> args) {
  return parseServerOptions(args);
}

TEST(ServerOptions, WithoutOptionsServesAHealthyDefaultSensorAtLinePace) {
  const ParsedOptions p = parse({});
  ASSERT_EQ(p.error, "");
  EXPECT_FALSE(p.help);
  EXPECT_TRUE(p.options.pacing);
  EXPECT_EQ(p.options.reactionTime, SensorPair::kDefaultReactionTime);
  EXPECT_EQ(p.options.hardware.ccdType, 1);
  EXPECT_EQ(p.options.hardware.ccdVirtPixel, 4096);
  EXPECT_FALSE(p.options.faults.silent);
  EXPECT_EQ(p.options.faults.answerEvery, 1);
  EXPECT_EQ(p.options.faults.hangUpAfter, -1);
}

TEST(ServerOptions, TakesEveryFaultAndTimingInEitherSpelling) {
  const ParsedOptions p = parse({"--silent", "--answer-every=3", "--wrong-sync", "--short-block",
                                 "--extra-bytes", "5", "--noise", "--delay=0.25", "--hang-up-after",
                                 "0", "--reaction", "1e-3", "--no-pacing"});
  ASSERT_EQ(p.error, "");
  const Faults& f = p.options.faults;
  EXPECT_TRUE(f.silent);
  EXPECT_EQ(f.answerEvery, 3);
  EXPECT_TRUE(f.wrongSync);
  EXPECT_TRUE(f.shortBlock);
  EXPECT_EQ(f.extraBytes, 5);
  EXPECT_GT(f.noiseBytesPerAnswer, 0.0);
  EXPECT_EQ(f.extraDelay, 0.25);
  EXPECT_EQ(f.hangUpAfter, 0);
  EXPECT_EQ(p.options.reactionTime, 1e-3);
  EXPECT_FALSE(p.options.pacing);
}

TEST(ServerOptions, CcdTypeSetsTheWholeDescriptionAndSingleWordsOverrideItWhereverItStands) {
  const ParsedOptions p = parse({"--adc-max", "1024", "--hw-type=0x1234", "--ccd-type", "4",
                                 "--firmware", "304", "--pcb-type", "1", "--virt-pixel", "512"});
  ASSERT_EQ(p.error, "");
  const HardwareInfo& hw = p.options.hardware;
  EXPECT_EQ(hw.ccdType, 4);
  EXPECT_EQ(hw.ccdMaxPixel, 512);  // from the type-4 description
  EXPECT_EQ(hw.adcMax, 1024);      // the type's 256, overridden although given before it
  EXPECT_EQ(hw.hwType, 0x1234);
  EXPECT_EQ(hw.softVersion, 304);
  EXPECT_EQ(hw.pcbType, 1);
  EXPECT_EQ(hw.ccdVirtPixel, 512);
}

TEST(ServerOptions, RefusesWithTheOptionNamed) {
  struct Case {
    std::vector<std::string_view> args;
    const char* error;
  };
  const Case cases[] = {
      {{"--colour"}, "unknown option --colour"},
      {{"/dev/pts/3"}, "unknown option /dev/pts/3"},
      {{"--firmware"}, "bad or missing value for --firmware"},
      {{"--firmware", "65536"}, "bad or missing value for --firmware"},
      {{"--ccd-type=-1"}, "bad or missing value for --ccd-type"},
      {{"--answer-every", "0"}, "bad or missing value for --answer-every"},
      {{"--extra-bytes", "1000001"}, "bad or missing value for --extra-bytes"},
      {{"--hang-up-after", "two"}, "bad or missing value for --hang-up-after"},
      {{"--reaction", "-0.5"}, "bad or missing value for --reaction"},
      {{"--delay", "3600"}, "bad or missing value for --delay"},
      {{"--delay", "nan"}, "bad or missing value for --delay"},
      {{"--reaction="}, "bad or missing value for --reaction"},
      // A switch takes no value: "--silent=no" must not silence the sensor.
      {{"--silent=no"}, "--silent takes no value"},
      {{"--no-pacing=0"}, "--no-pacing takes no value"},
      {{"--help=me"}, "--help takes no value"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parse(c.args).error, c.error) << c.args.front();
  }
}

TEST(ServerOptions, HelpIsTakenAndTheUsageNamesEveryOption) {
  EXPECT_TRUE(parse({"--help"}).help);
  EXPECT_TRUE(parse({"-h"}).help);
  const std::string usage(usageText());
  for (const char* option :
       {"--reaction", "--no-pacing", "--ccd-type", "--pcb-type", "--firmware", "--adc-max",
        "--virt-pixel", "--hw-type", "--silent", "--answer-every", "--wrong-sync", "--short-block",
        "--extra-bytes", "--noise", "--delay", "--hang-up-after"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace qrix::sim
