// The scope's command line: what it takes, and a message that names the fault for what it
// refuses.

#include "shell/scope_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrix {
namespace {

ScopeOptions parse(std::vector<std::string_view> args) {
  return parseScopeOptions(args);
}

TEST(ScopeOptions, TakesThePortAndABatchRecordingInEitherSpelling) {
  const ScopeOptions o =
      parse({"--port=/dev/pts/4", "--record", "run.dat", "--rec-interval=0", "--rec-samples", "7"});
  ASSERT_EQ(o.error, "");
  EXPECT_EQ(o.port, "/dev/pts/4");
  ASSERT_TRUE(o.batch);
  EXPECT_EQ(o.batch->path, "run.dat");
  EXPECT_EQ(o.batch->interval, 0);
  EXPECT_EQ(o.batch->samples, 7);
  EXPECT_FALSE(parse({"--port", "sim"}).batch);
  EXPECT_FALSE(o.stats);
}

TEST(ScopeOptions, TakesTheRecorderNumbersUpTo65535) {
  const ScopeOptions o =
      parse({"--record", "run.dat", "--rec-interval", "65535", "--rec-samples=65535"});
  ASSERT_EQ(o.error, "");
  ASSERT_TRUE(o.batch);
  EXPECT_EQ(o.batch->interval, 65535);
  EXPECT_EQ(o.batch->samples, 65535);
  EXPECT_EQ(parse({"--record", "run.dat", "--rec-samples", "65536"}).error,
            "--rec-samples takes a whole number 0..65535");
}

TEST(ScopeOptions, StatsIsAFlagWithOrWithoutABatchRecording) {
  const ScopeOptions batch = parse({"--record", "run.dat", "--stats", "--rec-samples", "3"});
  ASSERT_EQ(batch.error, "");
  EXPECT_TRUE(batch.stats);
  EXPECT_EQ(batch.batch->samples, 3);
  const ScopeOptions window = parse({"--stats"});
  ASSERT_EQ(window.error, "");
  EXPECT_TRUE(window.stats);
  EXPECT_FALSE(window.batch);
}

TEST(ScopeOptions, RefusesWithAMessageThatNamesTheFault) {
  struct Case {
    std::vector<std::string_view> args;
    const char* error;
  };
  const Case cases[] = {
      {{"--port"}, "--port needs a value"},
      {{"--port="}, "--port needs a value"},
      {{"--record", ""}, "--record needs a file path, not an empty one"},
      {{"--record="}, "--record needs a file path, not an empty one"},
      {{"--record", "a", "--record", "b"}, "--record is given more than once"},
      {{"--port", "1", "--port=2"}, "--port is given more than once"},
      {{"--rec-samples", "3", "--rec-samples", "4"}, "--rec-samples is given more than once"},
      {{"--rec-interval", "65536"}, "--rec-interval takes a whole number 0..65535"},
      {{"--rec-samples", "-1"}, "--rec-samples takes a whole number 0..65535"},
      {{"--rec-samples", "5"}, "--rec-interval and --rec-samples need --record PATH"},
      {{"--stats", "--port", "1", "--stats"}, "--stats is given more than once"},
      {{"--stats=yes"}, "--stats takes no value"},
      {{"--colour"}, "unknown option '--colour'"},
      {{"COM1"}, "unknown option 'COM1'"},
  };
  for (const Case& c : cases) {
    const ScopeOptions o = parse(c.args);
    EXPECT_EQ(o.error, c.error) << c.args.front();
  }
}

}  // namespace
}  // namespace qrix
