// qrix-cli dfq against the real binary: a recording with an interval as a Q-DAS file byte for
// byte, the pixel column at interval 0, and the refusals that leave every file as it was.

#include <gtest/gtest.h>

#include <string>

#include "cli_harness.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

using CliDfq = CliTest;

std::string recording(int interval) {
  return "12-31-2026 23:59:58\r\n"
         "Q-RIX-RECORDER-FILE: Time-Interval[s]: " +
         std::to_string(interval) +
         "\r\n"
         "SETPOINT-VALUE [\xB5m]: 16000\r\n"
         "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n"
         "1716\t2396\t1716\t16003\t2\t1\r\n"
         "1720\t2390\t1730\t15987\t3\t1\r\n"
         "1701\t2400\t1690\t-25\t2\t2\r\n";
}

TEST_F(CliDfq, ARecordingBecomesOneCharacteristicWithItsValuesAndTimes) {
  const fs::path file = dir / "rec.dat", out = dir / "rec.dfq";
  writeFile(file, recording(3));
  CliResult r = runCli({"dfq", file.string(), "-o", out.string(), "--part", "A-4711",
                        "--characteristic", "Diameter", "--lower", "15990", "--upper", "16020.5",
                        "--operator", "17", "--gauge", "4711"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  // The set-point is the nominal; the times step by 3 s across the year's end.
  EXPECT_EQ(readFile(out),
            "K0100 1\r\nK1001 A-4711\r\nK1002 recording 12-31-2026 23:59:58\r\n"
            "K2001/1 1\r\nK2002/1 Diameter\r\nK2101/1 16000\r\nK2110/1 15990\r\n"
            "K2111/1 16020.5\r\nK2142/1 um\r\n"
            "K0001/1 16003\r\nK0004/1 31.12.2026/23:59:58\r\nK0008/1 17\r\nK0012/1 4711\r\n"
            "K0001/1 15987\r\nK0004/1 01.01.2027/00:00:01\r\nK0008/1 17\r\nK0012/1 4711\r\n"
            "K0001/1 -25\r\nK0004/1 01.01.2027/00:00:04\r\nK0008/1 17\r\nK0012/1 4711\r\n");

  // Pixels at interval 0: every value takes the start's time; no nominal unless given.
  writeFile(file, recording(0));
  r = runCli({"dfq", file.string(), "-o", out.string(), "--unit", "px"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readFile(out),
            "K0100 1\r\nK1001 1\r\nK1002 recording 12-31-2026 23:59:58\r\n"
            "K2001/1 1\r\nK2002/1 MVAL\r\nK2142/1 px\r\n"
            "K0001/1 1716\r\nK0004/1 31.12.2026/23:59:58\r\n"
            "K0001/1 1730\r\nK0004/1 31.12.2026/23:59:58\r\n"
            "K0001/1 1690\r\nK0004/1 31.12.2026/23:59:58\r\n");
}

TEST_F(CliDfq, RefusalsLeaveTheRecordingAndAnEarlierExportAsTheyWere) {
  const fs::path file = dir / "rec.dat", out = dir / "rec.dfq";
  writeFile(file, recording(1));
  writeFile(out, "an earlier export\r\n");
  const fs::path bad = dir / "bad.dat";
  writeFile(bad, recording(1) + "1\t2\t3\r\n");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"dfq", file.string(), "-o", out.string(), "--operator", "Anna"},
       "qrix-cli: K0008 (operator) takes a catalogue number: a whole number of at most 10 "
       "digits (see --help)\n"},
      {{"dfq", file.string(), "-o", out.string(), "--part", std::string(31, 'P')},
       "qrix-cli: K1001 (part number) is 31 characters long; AQDEF allows 30 (see --help)\n"},
      {{"dfq", file.string(), "-o", out.string(), "--characteristic", "a\tb"},
       "qrix-cli: K2002 (characteristic description) holds a control or non-ASCII character; "
       "only printable ASCII is written (see --help)\n"},
      {{"dfq", file.string(), "-o", out.string(), "--lower", "5", "--upper", "5"},
       "qrix-cli: K2111 (upper limit) is not above K2110 (lower limit) (see --help)\n"},
      {{"dfq", file.string(), "-o", out.string(), "--unit", "mm"},
       "qrix-cli: --unit takes um or px (see --help)\n"},
      {{"dfq", file.string()}, "qrix-cli: dfq needs -o OUT (see --help)\n"},
      {{"dfq", bad.string(), "-o", out.string()},
       "qrix-cli: " + bad.string() + ":8: 3 fields where the recorder writes 6\n"},
      {{"dfq", file.string(), "-o", file.string()},
       "qrix-cli: -o " + file.string() + " is the recording itself; it stays as it is\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    const CliResult r = runCli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(readFile(out), "an earlier export\r\n");
    EXPECT_EQ(readFile(file), recording(1));
  }
  const CliResult r = runCli({"dfq", file.string(), "-o", (dir / "no-folder" / "x.dfq").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace qrix::testing
