// qrix-cli tried as a demanding user would: outputs onto a device, a symlink or a file of its
// own mode, names at the system's limits, a lost line or a silent sensor in a long transfer,
// signals in the middle of a write, an output that cannot be written, files that are not what
// they claim, a noisy line, and ports that are no serial ports. Each against the real binary
// and the simulator server over a pseudo-terminal.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>

#include "cli_harness.h"

namespace qrix::testing {
namespace {

namespace fs = std::filesystem;

using CliFaults = CliTest;

constexpr int kWriteRam = 1;
constexpr int kWriteFlash = 102;

bool isCharDevice(const fs::path& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// A parameter file as the sensor holds it by default.
std::string defaultParameterFile(Simulator& sim, const fs::path& dir) {
  const fs::path file = dir / "default.cfg";
  EXPECT_EQ(runCli({"--port", sim.device, "get", "-o", file.string()}).status, 0);
  return readFile(file);
}

std::string table(int count, int first) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += std::to_string(i == 0 ? first : i - 1024) + "\r\n";
  }
  return text;
}

TEST_F(CliFaults, OutputsFollowSymlinksKeepTheirModeAndWriteADeviceInPlace) {
  Simulator sim;
  const std::vector<std::vector<std::string>> writers = {
      {"get", "-o"}, {"video", "-o"}, {"record", "--interval", "0", "--samples", "2"}};
  for (const auto& writer : writers) {
    SCOPED_TRACE(writer[0]);
    const auto run = [&](const fs::path& target) {
      std::vector<std::string> args = {"--port", sim.device, writer[0]};
      if (writer[0] == "record") {
        args.push_back(target.string());
      }
      args.insert(args.end(), writer.begin() + 1, writer.end());
      if (writer[0] != "record") {
        args.push_back(target.string());
      }
      return runCli(args);
    };
    // A symlink stays, the file it points at is replaced.
    const fs::path real = dir / (writer[0] + "-real");
    const fs::path link = dir / (writer[0] + "-link");
    writeFile(real, "old");
    fs::create_symlink(real.filename(), link);
    EXPECT_EQ(run(link).status, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(readFile(real), "old");
    EXPECT_FALSE(fs::exists(real.string() + ".part"));

    // A file of its own mode keeps it.
    const fs::path own = dir / (writer[0] + "-own");
    writeFile(own, "old");
    fs::permissions(own, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(run(own).status, 0);
    EXPECT_EQ(fs::status(own).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(readFile(own), "old");

    // A device node (a copy of /dev/null) is written through, not replaced by a file.
    const fs::path device = dir / (writer[0] + "-null");
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
      const CliResult r = run(device);
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_TRUE(isCharDevice(device));
    }
  }
}

TEST_F(CliFaults, NamesAtTheLimitWorkAndRefusedPathsFailBeforeTheLine) {
  Simulator sim;
  // FILE.part and the temporary name would be too long: they are shortened, not the target.
  const fs::path longRecording = dir / std::string(253, 'r');
  EXPECT_EQ(runCli({"--port", sim.device, "record", longRecording.string(), "--interval", "0",
                    "--samples", "2"})
                .status,
            0);
  EXPECT_TRUE(fs::is_regular_file(longRecording));
  const fs::path longGet = dir / std::string(250, 'g');
  EXPECT_EQ(runCli({"--port", sim.device, "get", "-o", longGet.string()}).status, 0);
  EXPECT_TRUE(fs::is_regular_file(longGet));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
      << "a temporary file was left";

  Simulator untouched;
  const fs::path loop = dir / "loop.dat";
  fs::create_symlink("loop.dat.part", loop.string() + ".part");
  fs::create_directory(dir / "folder");
  const struct {
    std::vector<std::string> args;
    std::string reason;
  } refused[] = {
      {{"record", (dir / "missing" / "x.dat").string()},
       "missing/x.dat: No such file or directory"},
      {{"record", (dir / "folder").string()}, "folder: Is a directory"},
      {{"record", loop.string()}, "loop.dat.part: not a regular file"},
      {{"record", (dir / std::string(256, 'n')).string()}, "File name too long"},
      {{"get", "-o", (dir / "folder").string()}, "folder: Is a directory"},
      {{"data", "-o", (dir / "missing" / "x.csv").string()}, "No such file or directory"},
  };
  for (auto c : refused) {
    c.args.insert(c.args.begin(), {"--port", untouched.device});
    if (c.args[2] == "record") {
      c.args.insert(c.args.end(), {"--interval", "0", "--samples", "1"});
    }
    const CliResult r = runCli(c.args);
    EXPECT_EQ(r.status, 1) << c.args[3];
    EXPECT_NE(r.err.find("qrix-cli: cannot write "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
  }
  EXPECT_FALSE(untouched.sawRequest()) << untouched.log();
}

TEST_F(CliFaults, AFlashTransferEndsAtOnceOnALostLineAndAfterThreeSilentFrames) {
  const fs::path lin = dir / "lin.dat";
  writeFile(lin, table(2048, 0));
  {
    // The line goes away at the 60th request: the transfer ends at once instead of waiting out
    // a time-out for each of the 200 frames left.
    Simulator lost({"--hang-up-after", "60"});
    const CliResult r = runCli({"--port", lost.device, "flash", lin.string(), "--master"}, 20);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Serial port lost!"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("X-FLASH write incomplete!"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("qrix-cli: 53 of 256 frames confirmed"), std::string::npos) << r.err;
  }
  // Six requests identify the sensor, one clears the flash: 53 frames answered, then three
  // that time out, and no more are sent.
  Simulator silent({"--silent-after", "60"});
  const CliResult r = runCli({"--port", silent.device, "flash", lin.string(), "--slave"}, 20);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("X-FLASH write incomplete!"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("qrix-cli: 53 of 256 frames confirmed"), std::string::npos) << r.err;
  EXPECT_EQ(silent.requests(kWriteFlash), 56);
}

// The signal arrives once the stderr of the command shows `when`.
CliResult interrupt(const std::vector<std::string>& args, const std::string& when, int signal) {
  ChildProcess cli(QRIX_CLI_PATH, args);
  std::string err = cli.readStderrUntil(
      [&](const std::string& text) { return text.find(when) != std::string::npos; }, 20);
  cli.signal(signal);
  const int status = cli.waitForExit(20);
  err = cli.stderrSoFar(0.2);
  return {status, cli.stdoutSoFar(0.1), err};
}

TEST_F(CliFaults, ASignalEndsAWriteOnlyWhereItLeavesSomethingWhole) {
  Simulator sim;
  const fs::path file = dir / "changed.cfg";
  writeFile(file, withWord(defaultParameterFile(sim, dir), 17, 61));
  const int writesBefore = sim.requests(kWriteRam);
  // SEND: all three frames, then the signal's status; the read-back is left out.
  const CliResult send =
      interrupt({"--port", sim.device, "send", file.string()}, "Transmit...", SIGINT);
  EXPECT_EQ(send.status, 128 + SIGINT) << send.err;
  EXPECT_EQ(sim.requests(kWriteRam) - writesBefore, 3);
  EXPECT_NE(send.err.find("the three frames were sent, not read back"), std::string::npos);

  // A flash transfer: the frame in flight, then the count the sensor confirmed.
  const fs::path lin = dir / "lin.dat";
  writeFile(lin, table(2048, 0));
  const int flashBefore = sim.requests(kWriteFlash);
  const CliResult flash = interrupt({"--port", sim.device, "flash", lin.string(), "--master"},
                                    "X-FLASH-write OK", SIGTERM);
  EXPECT_EQ(flash.status, 128 + SIGTERM) << flash.err;
  EXPECT_NE(flash.err.find("X-FLASH write incomplete!"), std::string::npos) << flash.err;
  std::smatch confirmed;
  ASSERT_TRUE(std::regex_search(flash.err, confirmed, std::regex(R"((\d+) of 256 frames)")));
  EXPECT_EQ(std::stoi(confirmed[1]), sim.requests(kWriteFlash) - flashBefore);
  EXPECT_LT(std::stoi(confirmed[1]), 256);

  // A recording: whole lines kept in FILE.part, which stderr names, and no lock left behind.
  const fs::path recording = dir / "run.dat";
  const CliResult record = interrupt(
      {"--port", sim.device, "record", recording.string(), "--interval", "0", "--samples", "500"},
      "\nLine Ok!\n", SIGHUP);
  EXPECT_EQ(record.status, 128 + SIGHUP) << record.err;
  const std::string part = readFile(recording.string() + ".part");
  EXPECT_TRUE(std::regex_match(
      part, std::regex("([^\r\n]*\r\n){4}(\\d+\t\\d+\t\\d+\t-?\\d+\t\\d+\t\\d+\r\n)*")))
      << part;
  EXPECT_NE(record.err.find("kept in " + recording.string() + ".part"), std::string::npos);
  const std::string lock = "LCK.." + fs::path(sim.device).parent_path().filename().string() + "_" +
                           fs::path(sim.device).filename().string();
  for (const char* folder : {"/run/lock", "/var/lock", "/tmp"}) {
    EXPECT_FALSE(fs::exists(fs::path(folder) / lock)) << folder << "/" << lock;
  }
  // The pair is free again.
  EXPECT_EQ(runCli({"--port", sim.device, "info"}).status, 0);
}

TEST_F(CliFaults, AnOutputThatCannotBeWrittenIsAFailure) {
  Simulator sim;
  const struct {
    std::vector<std::string> args;
    std::string stdoutOn;
  } cases[] = {
      {{"info"}, "/dev/full"},
      {{"get", "--json"},
       ""},  // stdout closed: refused before the port, which would take its place
      {{"compare", "--json"}, "/dev/full"},
      {{"video"}, "/dev/full"},
  };
  for (auto c : cases) {
    c.args.insert(c.args.begin(), {"--port", sim.device});
    const CliResult r = runCliWithStdoutOn(c.stdoutOn, c.args);
    EXPECT_EQ(r.status, 1) << c.args[2] << ": " << r.err;
    EXPECT_NE(r.err.find("qrix-cli: cannot write the output"), std::string::npos) << r.err;
  }
}

TEST_F(CliFaults, FilesOutsideWhatThePanelsTakeAreRefusedBeforeTheyAreSent) {
  Simulator sim;
  const std::string good = defaultParameterFile(sim, dir);
  const int writesBefore = sim.requests(kWriteRam);
  const fs::path file = dir / "bad.cfg";
  const struct {
    std::string content;
    std::string message;
  } bad[] = {
      {withWord(good, 15, 1001), "line 16: master Light power is 1001, allowed 0 to 1000"},
      {withWord(good, 31, 7), "line 32: slave Power mode is 7, allowed 0 to 1"},
      {withWord(good, 0, 99), "line 1: system Evaluation mode is 99, allowed 0 to 4"},
      {withWord(good, 4, 70000), "line 5: 70000 is not a word (0 to 65535)"},
      {good + "         1\r\n", "holds more than 45 numbers"},
  };
  for (const auto& b : bad) {
    writeFile(file, b.content);
    for (const char* command : {"send", "compare"}) {
      const CliResult r = runCli({"--port", sim.device, command, file.string()});
      EXPECT_EQ(r.status, 2) << command << " " << b.message;
      EXPECT_NE(r.err.find(file.string() + " " + b.message), std::string::npos) << r.err;
    }
  }
  // Within the most virtual pixels of any sensor, above the 4096 of this one: refused once the
  // sensor is known, before a frame is written.
  writeFile(file, withWord(good, 18, 5000));
  const CliResult teach = runCli({"--port", sim.device, "send", file.string()});
  EXPECT_EQ(teach.status, 2);
  EXPECT_NE(teach.err.find("master Teach value is 5000, allowed 0 to 4096"), std::string::npos)
      << teach.err;
  EXPECT_EQ(sim.requests(kWriteRam), writesBefore);

  const fs::path lin = dir / "lin.dat";
  for (const auto& [content, message] :
       {std::pair{table(2048, -32768), "line 1: -32768 is outside -32767 to 32767"},
        std::pair{table(2049, 0), "holds more than 2048 numbers"}}) {
    writeFile(lin, content);
    const CliResult r = runCli({"--port", sim.device, "flash", lin.string(), "--master"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
  }
  EXPECT_EQ(sim.requests(kWriteFlash), 0);
}

TEST_F(CliFaults, GetReadsTheMemoryItIsAskedFor) {
  Simulator sim;
  writeFile(dir / "ram.cfg", withWord(defaultParameterFile(sim, dir), 17, 61));
  ASSERT_EQ(runCli({"--port", sim.device, "send", (dir / "ram.cfg").string()}).status, 0);
  const std::regex threshold("\nmaster +Video threshold +(\\d+) %\n");
  std::smatch ram, eeprom;
  const std::string fromRam = runCli({"--port", sim.device, "get"}).out;
  const std::string fromEeprom = runCli({"--port", sim.device, "get", "--eeprom"}).out;
  ASSERT_TRUE(std::regex_search(fromRam, ram, threshold)) << fromRam;
  ASSERT_TRUE(std::regex_search(fromEeprom, eeprom, threshold)) << fromEeprom;
  EXPECT_EQ(ram[1], "61");
  EXPECT_EQ(eeprom[1], "50");
}

TEST_F(CliFaults, AScaleAboveTwoToTheTwentyFourKeepsItsExactValue) {
  Simulator sim;
  // The master's scale, words 26 and 27 (lines 27 and 28): 2^24 + 1, which a float would round
  // to 2^24.
  const std::string file = withWord(withWord(defaultParameterFile(sim, dir), 26, 1), 27, 256);
  writeFile(dir / "scale.cfg", file);
  const CliResult sent = runCli({"--port", sim.device, "send", (dir / "scale.cfg").string()});
  EXPECT_EQ(sent.status, 0) << sent.out << sent.err;
  ASSERT_EQ(runCli({"--port", sim.device, "get", "-o", (dir / "back.cfg").string()}).status, 0);
  EXPECT_EQ(readFile(dir / "back.cfg"), file);
}

TEST_F(CliFaults, OnANoisyLineTheCommandsWorkAsTheWindowDoes) {
  Simulator noisy({"--noise"});
  const CliResult info = runCli({"--port", noisy.device, "info"});
  EXPECT_EQ(info.status, 0) << info.err;
  // The firmware text carries no sync word: noise ahead of it spoils it.
  EXPECT_TRUE(std::regex_search(info.out, std::regex("\nfirmware +(\\(missing\\)|Q-RIX.*)\n")))
      << info.out;
  const fs::path file = dir / "noisy.cfg";
  EXPECT_EQ(runCli({"--port", noisy.device, "get", "-o", file.string()}).status, 0);
  EXPECT_EQ(runCli({"--port", noisy.device, "send", file.string()}).status, 0);
  EXPECT_EQ(runCli({"--port", noisy.device, "compare", file.string()}).status, 0);
  EXPECT_EQ(runCli({"--port", noisy.device, "record", (dir / "noisy.dat").string(), "--interval",
                    "0", "--samples", "3"})
                .status,
            0);
  // The 128-byte blocks carry no sync word either: refused, as in the window.
  for (const char* command : {"video", "data"}) {
    const CliResult r = runCli({"--port", noisy.device, command});
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find("did not read every block"), std::string::npos) << r.err;
  }
}

TEST_F(CliFaults, AFailedStepOfTheIdentificationIsToldApartFromAMissingFirmwareText) {
  // Line check, hardware information, three parameter frames, firmware text: six requests.
  Simulator noFirmware({"--silent-after", "5"});
  const CliResult info = runCli({"--port", noFirmware.device, "info", "--json"});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("\"firmware\": null}"), std::string::npos) << info.out;

  Simulator noFrames({"--silent-after", "3"});
  const CliResult get = runCli({"--port", noFrames.device, "get"});
  EXPECT_EQ(get.status, 1);
  EXPECT_NE(get.err.find("qrix-cli: no sensor identified: "), std::string::npos) << get.err;

  // RAM answers, EEPROM does not: a failed read, not a difference.
  Simulator noEeprom({"--silent-after", "9"});
  EXPECT_EQ(runCli({"--port", noEeprom.device, "compare"}).status, 2);
}

TEST_F(CliFaults, PortsThatAreNoSerialPortsAreNamedAsSuch) {
  writeFile(dir / "plain", "");
  const struct {
    std::string port, message;
  } cases[] = {
      {"/dev/null", "qrix-cli: /dev/null is not a serial port"},
      {(dir / "plain").string(), "plain is not a serial port"},
      {dir.string(), " is not a serial port"},
      {(dir / "gone").string(), "gone: No such file or directory"},
  };
  for (const auto& c : cases) {
    const CliResult r = runCli({"--port", c.port, "info"});
    EXPECT_EQ(r.status, 1) << c.port;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("no sensor identified"), std::string::npos) << r.err;
  }
}

TEST_F(CliFaults, InfoShowsTheVirtualPixelsTheSensorReported) {
  // 1000 is a count the program has no scale for: it works with 2048, but tells the truth.
  Simulator sim({"--virt-pixel", "1000"});
  const CliResult r = runCli({"--port", sim.device, "info"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("ccdvirtpixel   1000\n"), std::string::npos) << r.out;
}

TEST_F(CliFaults, OneDeviceReachedByTwoNamesIsOpenedOnce) {
  Simulator sim;
  const fs::path alias = dir / "alias";
  fs::create_symlink(sim.device, alias);
  ChildProcess holder(QRIX_CLI_PATH, {"--port", sim.device, "record", (dir / "r.dat").string(),
                                      "--interval", "0", "--samples", "300"});
  holder.readStderrUntil(
      [](const std::string& text) { return text.find("\nLine Ok!\n") != std::string::npos; }, 20);
  const CliResult second = runCli({"--port", alias.string(), "info"});
  EXPECT_EQ(second.status, 1);
  EXPECT_NE(second.err.find("qrix-cli: cannot open " + alias.string()), std::string::npos)
      << second.err;
  holder.terminate();
}

}  // namespace
}  // namespace qrix::testing
