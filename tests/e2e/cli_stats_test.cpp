// qrix-cli stats against the real binary on recorder files the test writes: the table and the
// JSON of six columns whose figures differ, limits on either side of the mean with values on
// both limits, an empty recording, and the files and arguments it refuses.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "cli_harness.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

using CliStats = CliTest;

const std::string kHeader =
    "03-14-2026 15:09:26\r\n"
    "Q-RIX-RECORDER-FILE: Time-Interval[s]: 0\r\n"
    "SETPOINT-VALUE [\xB5m]: 16000\r\n"
    "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE\r\n";

// SLAVE 100..600, MASTER all 65535, MVAL from 1695 to 1740 with 1702 and 1730 among them,
// MVAL[um] both signs, S_EDGE 1..6, M_EDGE one 7.
const std::string kSamples =
    "100\t65535\t1695\t-10\t1\t0\r\n"
    "200\t65535\t1700\t-20\t2\t0\r\n"
    "300\t65535\t1702\t30\t3\t0\r\n"
    "400\t65535\t1720\t40\t4\t0\r\n"
    "500\t65535\t1730\t-50\t5\t0\r\n"
    "600\t65535\t1740\t60\t6\t7\r\n";

TEST_F(CliStats, TheTableOfSixColumnsAndTheLimitsOfMval) {
  const fs::path file = dir / "six.dat";
  writeFile(file, kHeader + kSamples);
  const CliResult r = runCli({"stats", file.string(), "--lower", "1702", "--upper", "1730"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, file.string() +
                       ": recorded 03-14-2026 15:09:26, interval 0 s, set-point 16000\n"
                       "column             n           mean           sd          min          max"
                       "        range\n"
                       "SLAVE              6        350.000      187.083          100          600"
                       "          500\n"
                       "MASTER             6      65535.000        0.000        65535        65535"
                       "            0\n"
                       "MVAL               6       1714.500       18.262         1695         1740"
                       "           45\n"
                       "MVAL[um]           6          8.333       41.673          -50           60"
                       "          110\n"
                       "S_EDGE             6          3.500        1.871            1            6"
                       "            5\n"
                       "M_EDGE             6          1.167        2.858            0            7"
                       "            7\n"
                       "\n"
                       "MVAL from 1702 to 1730:\n"
                       "  Cp      0.256\n"
                       "  Cpk     0.228\n"
                       "  inside  3 (50 %)\n"
                       "  above   1\n"
                       "  below   2\n");
}

TEST_F(CliStats, JsonOfAChosenColumnAndOfAnEmptyRecording) {
  const fs::path file = dir / "six.dat";
  writeFile(file, kHeader + kSamples);
  CliResult r = runCli({"stats", file.string(), "--json", "--column", "MVAL[um]", "--lower", "-30",
                        "--upper", "50"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json["file"], file.string());
  const auto& um = json["columns"]["MVAL[um]"];
  EXPECT_EQ(um["n"], 6);
  EXPECT_NEAR(um["mean"].get<double>(), 8.333333333333334, 1e-12);
  EXPECT_NEAR(um["sd"].get<double>(), 41.67333280008532, 1e-12);
  EXPECT_EQ(um["min"], -50);
  EXPECT_EQ(um["max"], 60);
  EXPECT_EQ(um["range"], 110);
  EXPECT_EQ(json["columns"]["MASTER"]["sd"], 0.0);
  EXPECT_EQ(json["columns"]["SLAVE"]["max"], 600);
  const auto& limits = json["limits"];
  EXPECT_EQ(limits["column"], "MVAL[um]");
  EXPECT_EQ(limits["lower"], -30.0);
  EXPECT_EQ(limits["upper"], 50.0);
  EXPECT_NEAR(limits["cp"].get<double>(), 0.3199488122847241, 1e-12);
  EXPECT_NEAR(limits["cpk"].get<double>(), 0.3066176117728606, 1e-12);
  EXPECT_EQ(limits["inside"], 4);
  EXPECT_EQ(limits["above"], 1);
  EXPECT_EQ(limits["below"], 1);
  EXPECT_FALSE(limits.contains("reason"));

  const fs::path empty = dir / "empty.dat";
  writeFile(empty, kHeader);
  r = runCli({"stats", empty.string(), "--json", "--lower", "1", "--upper", "2"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string none =
      "{\"n\": 0, \"mean\": null, \"sd\": null, \"min\": null, \"max\": null, \"range\": null}";
  EXPECT_EQ(r.out, "{\"file\": \"" + empty.string() + "\", \"columns\": {\"SLAVE\": " + none +
                       ", \"MASTER\": " + none + ", \"MVAL\": " + none + ", \"MVAL[um]\": " + none +
                       ", \"S_EDGE\": " + none + ", \"M_EDGE\": " + none +
                       "}, \"limits\": {\"column\": \"MVAL\", \"lower\": 1.0, \"upper\": 2.0, "
                       "\"cp\": null, \"cpk\": null, \"reason\": \"fewer than two values\", "
                       "\"inside\": 0, \"above\": 0, \"below\": 0}}\n");

  r = runCli({"stats", empty.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nMVAL               0              -            -            -"
                       "            -            -\n"),
            std::string::npos)
      << r.out;

  // One value: a mean, but no sd and so no Cp.
  writeFile(empty, kHeader + "1\t2\t3\t4\t5\t6\r\n");
  r = runCli({"stats", empty.string(), "--lower", "0", "--upper", "9"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  Cp      - (fewer than two values)\n"), std::string::npos) << r.out;
}

TEST_F(CliStats, WrongFilesAndArgumentsExitTwoWithNothingOnStdout) {
  const fs::path file = dir / "bad.dat";
  writeFile(file, kHeader + kSamples + "1\t2\t70000\t4\t5\t6\r\n");
  const fs::path good = dir / "good.dat";
  writeFile(good, kHeader + kSamples);
  const std::string bad = file.string();
  const std::string name = good.string();
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"stats", bad}, "qrix-cli: " + bad + ":11: MVAL: \"70000\" is out of range 0..65535\n"},
      {{"stats", (dir / "missing.dat").string()},
       "qrix-cli: " + (dir / "missing.dat").string() + ": No such file or directory\n"},
      {{"stats", dir.string()}, "qrix-cli: " + dir.string() + ": a folder, not a recorder file\n"},
      {{"stats", name, "--lower", "1700"},
       "qrix-cli: --lower and --upper go together (see --help)\n"},
      {{"stats", name, "--upper", "1700", "--lower", "1700"},
       "qrix-cli: --upper must be above --lower (see --help)\n"},
      {{"stats", name, "--lower", "1e999", "--upper", "1700"},
       "qrix-cli: --lower 1e999 is no number (see --help)\n"},
      {{"stats", name, "--column", "MVAL[px]", "--lower", "0", "--upper", "1"},
       "qrix-cli: no column MVAL[px] (SLAVE, MASTER, MVAL, MVAL[um], S_EDGE or M_EDGE) (see "
       "--help)\n"},
      {{"stats", name, "--column", "MVAL"},
       "qrix-cli: --column chooses the column of --lower and --upper (see --help)\n"},
      {{"stats"}, "qrix-cli: stats needs a FILE (see --help)\n"},
      {{"stats", name, name}, "qrix-cli: stats takes one FILE (see --help)\n"},
      {{"stats", name, "--port", "sim"}, "qrix-cli: stats: unknown option --port (see --help)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliResult r = runCli(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
  // A result that could go nowhere is a failure, not a success.
  const CliResult closed = runCliWithStdoutOn("", {"stats", name});
  EXPECT_EQ(closed.status, 1);
  EXPECT_EQ(closed.err, "qrix-cli: cannot write the output: stdout is closed\n");
}

}  // namespace
}  // namespace qrix::testing
