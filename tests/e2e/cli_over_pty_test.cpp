// qrix-cli against the simulator server over a pseudo-terminal: each command's success, a
// silent sensor, a bad file and a bad argument, by exit status, output and files byte for byte.
// A bad argument or file must not reach the line: the simulator then logs no request.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli_harness.h"
#include "params/param_file.h"
#include "program/memory_target.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

using CliOverPty = CliTest;

TEST_F(CliOverPty, InfoNamesTheHardwareTheCcdAndTheFirmware) {
  Simulator sim;
  const CliResult r = runCli({"--port", sim.device, "info"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("ccdvirtpixel   4096\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("1024-pixel; 7.8µm pixel-pitch"), std::string::npos) << r.out;
  EXPECT_TRUE(std::regex_search(r.out, std::regex("firmware +Q-RIX.*\\(sim\\)\n"))) << r.out;
  // The status texts came to stderr as they were shown.
  EXPECT_NE(r.err.find("Echo Check - Line Ok!"), std::string::npos) << r.err;

  const CliResult json = runCli({"--port", sim.device, "info", "--json"});
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_TRUE(
      std::regex_match(json.out, std::regex(R"(\{"hardware": \{"ccdtype": 1, .*"adcmax": \d+\}, )"
                                            R"("ccd": \[".*"\], "firmware": "Q-RIX.*"\}\n)")))
      << json.out;
}

TEST_F(CliOverPty, ASilentSensorOrAMissingPortEndsWithStatusOneAndTheReason) {
  Simulator silent({"--silent"});
  const struct {
    std::string port;
    const char* reason;
  } cases[] = {{silent.device, "Timeout-RS-232..."},
               {"/dev/qrix-no-such-device-" + std::to_string(getpid()), "No serial port found"}};
  for (const auto& c : cases) {
    for (const char* command : {"info", "get"}) {
      const CliResult r = runCli({"--port", c.port, command});
      EXPECT_EQ(r.status, 1) << command << " " << c.port;
      EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
    }
  }
  // compare tells a failed line from a difference.
  EXPECT_EQ(runCli({"--port", silent.device, "compare"}).status, 2);
}

TEST_F(CliOverPty, GetWritesByteForByteWhatTheWindowsSendToAFileWrites) {
  Scope window;
  ASSERT_EQ(window.start(), 0);
  const fs::path fromWindow = dir / "window.cfg";
  window.rt.answerFileDialog({VAL_NEW_FILE_SELECTED, fromWindow.string()});
  setMemoryTarget(window.p, kTargetFile);
  window.commit(window.p.st.pHandle, ids::main::BTNSend);
  ASSERT_TRUE(fs::exists(fromWindow));

  Simulator sim;
  const fs::path fromCli = dir / "cli.cfg";
  const CliResult r = runCli({"--port", sim.device, "get", "-o", fromCli.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readFile(fromCli), readFile(fromWindow));
  EXPECT_EQ(r.out, "");
}

TEST_F(CliOverPty, GetPrintsTheFieldsOfTheChosenMemory) {
  Simulator sim;
  const CliResult ram = runCli({"--port", sim.device, "get"});
  EXPECT_EQ(ram.status, 0) << ram.err;
  EXPECT_TRUE(std::regex_search(ram.out, std::regex(R"(\nmaster +Video threshold +50 %\n)")))
      << ram.out;
  EXPECT_TRUE(std::regex_search(ram.out, std::regex(R"(\nsystem +Set-point +16000 µm\n)")))
      << ram.out;
  const CliResult eeprom = runCli({"--port", sim.device, "get", "--eeprom", "--json"});
  EXPECT_EQ(eeprom.status, 0) << eeprom.err;
  EXPECT_NE(eeprom.out.find("{\"memory\": \"EEPROM\", \"fields\": [{\"section\": \"system\""),
            std::string::npos)
      << eeprom.out;
  EXPECT_NE(sim.log().find("cmd=4 arg=2"), std::string::npos) << "no EEPROM read";
}

TEST_F(CliOverPty, AFailedGetLeavesAnExistingFileAsItWas) {
  Simulator silent({"--answer-every", "4"});
  const fs::path file = dir / "old.cfg";
  writeFile(file, "old content");
  const CliResult r = runCli({"--port", silent.device, "get", "-o", file.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(readFile(file), "old content");
}

// After a SEND to RAM only, compare shows exactly the changed fields: RAM against EEPROM, and
// a file that holds what was sent.
TEST_F(CliOverPty, SendToRamThenCompareShowsExactlyTheFieldsThatDiffer) {
  Simulator sim;
  const fs::path original = dir / "original.cfg";
  ASSERT_EQ(runCli({"--port", sim.device, "get", "-o", original.string()}).status, 0);
  ASSERT_EQ(runCli({"--port", sim.device, "compare"}).status, 0);

  const fs::path changed = dir / "changed.cfg";
  // Master video threshold (frame 1, word 2) and slave teach value (frame 2, word 3).
  writeFile(changed, withWord(withWord(readFile(original), 17, 60), 33, 700));
  const CliResult sent = runCli({"--port", sim.device, "send", changed.string()});
  EXPECT_EQ(sent.status, 0) << sent.err;

  const CliResult diff = runCli({"--port", sim.device, "compare"});
  EXPECT_EQ(diff.status, 1) << diff.err;
  EXPECT_TRUE(std::regex_match(diff.out, std::regex("master +Video threshold +RAM=60 EEPROM=50 %\n"
                                                    "slave +Teach value +RAM=700 EEPROM=600 "
                                                    "virtual px\n")))
      << diff.out;

  const CliResult withFile = runCli({"--port", sim.device, "compare", changed.string(), "--json"});
  EXPECT_EQ(withFile.status, 1) << withFile.err;
  EXPECT_NE(withFile.out.find("\"field\": \"Video threshold\", \"unit\": \"%\", \"RAM\": 60, "
                              "\"EEPROM\": 50, \"FILE\": 60}"),
            std::string::npos)
      << withFile.out;
}

TEST_F(CliOverPty, ASendTheSensorIgnoredIsReportedAsAFailedReadBack) {
  Simulator sim({"--ignore-writes"});
  const fs::path original = dir / "original.cfg";
  ASSERT_EQ(runCli({"--port", sim.device, "get", "-o", original.string()}).status, 0);
  const fs::path changed = dir / "changed.cfg";
  writeFile(changed, withWord(readFile(original), 17, 60));
  const CliResult r = runCli({"--port", sim.device, "send", "--eeprom", changed.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(std::regex_match(r.out, std::regex("master +Video threshold +sent=60 read=50 %\n")))
      << r.out;
  EXPECT_NE(r.err.find("differ"), std::string::npos) << r.err;
}

// Neither a wrong argument nor an unreadable file reaches the sensor or an output file.
TEST_F(CliOverPty, BadArgumentsAndBadFilesEndWithStatusTwoBeforeTheLine) {
  Simulator sim;
  const fs::path shortFile = dir / "short.cfg";
  writeFile(shortFile, "1\n2\n3\n");
  const fs::path output = dir / "kept.cfg";
  writeFile(output, "kept");
  const std::vector<std::vector<std::string>> cases = {
      {"inof"},
      {"info", "--eeprom"},
      {"get", "-o", output.string(), "--samples", "3"},
      {"send"},
      {"send", (dir / "missing.cfg").string()},
      {"send", shortFile.string()},
      {"compare", shortFile.string()},
      {"record", output.string(), "--interval", "1"},
      {"flash", shortFile.string(), "--master"},
      {"video", "--eeprom"},
      {"data", output.string()},
      {"flash", shortFile.string()},
  };
  for (std::vector<std::string> args : cases) {
    args.insert(args.begin(), {"--port", sim.device});
    const CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2) << args[2];
    EXPECT_NE(r.err.find("qrix-cli: "), std::string::npos) << r.err;
  }
  EXPECT_FALSE(sim.sawRequest()) << sim.log();
  EXPECT_EQ(readFile(output), "kept");
}

TEST_F(CliOverPty, RecordWritesEverySampleAndKeepsAnEarlierFileWhenTheSensorFails) {
  Simulator sim;
  const fs::path file = dir / "run.dat";
  const CliResult r =
      runCli({"--port", sim.device, "record", file.string(), "--interval", "0", "--samples", "4"});
  EXPECT_EQ(r.status, 0) << r.err;
  static const std::regex recording(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d\r\n)"
                                    R"(Q-RIX-RECORDER-FILE: Time-Interval\[s\]: 0\r\n)"
                                    "SETPOINT-VALUE \\[\xB5m\\]: -?\\d+\r\n"
                                    "SLAVE\tMASTER\tMVAL\tMVAL\\[um\\]\tS_EDGE\tM_EDGE\r\n"
                                    R"((\d+\t\d+\t\d+\t-?\d+\t\d+\t\d+\r\n){4})");
  const std::string text = readFile(file);
  EXPECT_TRUE(std::regex_match(text, recording)) << text;
  EXPECT_FALSE(fs::exists(file.string() + ".part"));
  EXPECT_EQ(r.err.find('\r'), std::string::npos) << "a progress bar on a pipe";

  // The sensor stops answering after identification and two samples.
  Simulator failing({"--hang-up-after", "8"});
  const CliResult failed = runCli(
      {"--port", failing.device, "record", file.string(), "--interval", "0", "--samples", "50"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(readFile(file), text);
  EXPECT_NE(failed.err.find("recording incomplete"), std::string::npos) << failed.err;

  Simulator silent({"--silent"});
  EXPECT_EQ(runCli({"--port", silent.device, "record", file.string(), "--interval", "0",
                    "--samples", "2"})
                .status,
            1);
  EXPECT_EQ(readFile(file), text);
}

// A pass writes the 128 points of both buffers; a pass with a short block writes nothing.
TEST_F(CliOverPty, VideoAndDataWriteOnePassAsCsvAndABadBlockKeepsTheFile) {
  Simulator sim;
  const struct {
    const char* command;
    const char* header;
    int columns;
  } cases[] = {
      {"video",
       "position [virtual px],master [ADC counts],slave [ADC counts],"
       "master threshold [ADC counts],slave threshold [ADC counts]",
       5},
      {"data",
       "scan,master [virtual px],slave [virtual px],master trigger [virtual px],"
       "master upper [virtual px],master reference [virtual px],master lower [virtual px],"
       "slave trigger [virtual px],slave upper [virtual px],slave reference [virtual px],"
       "slave lower [virtual px]",
       11},
  };
  for (const auto& c : cases) {
    const fs::path csv = dir / (std::string(c.command) + ".csv");
    const CliResult r = runCli({"--port", sim.device, c.command, "-o", csv.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(readFile(csv));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, std::string(c.header) + "\r");
    std::string numbers = "\\d+";
    for (int i = 1; i < c.columns; ++i) {
      numbers += ",\\d+";
    }
    int points = 0;
    for (; std::getline(lines, line); ++points) {
      EXPECT_TRUE(std::regex_match(line, std::regex(numbers + "\r"))) << line;
    }
    EXPECT_EQ(points, 128) << c.command;
  }
  // The default pair's 4096 virtual pixels in steps of 32, and a curve, not an empty buffer.
  const std::string video = readFile(dir / "video.csv");
  EXPECT_NE(video.find("\r\n0,"), std::string::npos);
  EXPECT_NE(video.find("\r\n4064,"), std::string::npos);
  EXPECT_TRUE(std::regex_search(video, std::regex("\n\\d+,[1-9]\\d*,"))) << video;
  EXPECT_EQ(runCli({"--port", sim.device, "video"}).out.find("position"), 0u);

  Simulator shortBlocks({"--short-block"});
  for (const auto& c : cases) {
    const fs::path csv = dir / (std::string(c.command) + ".csv");
    const std::string before = readFile(csv);
    const CliResult r = runCli({"--port", shortBlocks.device, c.command, "-o", csv.string()});
    EXPECT_EQ(r.status, 1) << c.command;
    EXPECT_NE(r.err.find("did not read every block"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(csv), before);
  }
  Simulator silent({"--silent"});
  EXPECT_EQ(runCli({"--port", silent.device, "data"}).status, 1);
}

TEST_F(CliOverPty, RecordDrawsItsProgressBarOnATerminal) {
  Simulator sim;
  const fs::path file = dir / "run.dat";
  const CliResult r = runCliOnTerminal(
      {"--port", sim.device, "record", file.string(), "--interval", "0", "--samples", "3"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("\r[##########....................] 1/3"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\r[##############################] 3/3"), std::string::npos) << r.err;
}

TEST_F(CliOverPty, FlashWritesTheTableAndASilentSensorFailsIt) {
  const fs::path table = dir / "lin.dat";
  std::string values;
  for (int i = 0; i < 2048; ++i) {
    values += std::to_string(i - 1024) + "\r\n";
  }
  writeFile(table, values);

  Simulator sim;
  const CliResult r = runCli({"--port", sim.device, "flash", table.string(), "--master"}, 60);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("X-FLASH Data successfully written!"), std::string::npos) << r.err;
  EXPECT_NE(sim.log().find("cmd=102 "), std::string::npos);

  Simulator silent({"--silent"});
  EXPECT_EQ(runCli({"--port", silent.device, "flash", table.string(), "--slave"}).status, 1);
}

}  // namespace
}  // namespace qrix::testing
