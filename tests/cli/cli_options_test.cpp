// The command line of qrix-cli: what each command takes, and a message naming the fault for
// anything else, so that a script's typo never reaches the sensor.

#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrix::cli {
namespace {

TEST(CliOptions, TakesEachCommandWithItsOperandsAndOptionsInAnyOrder) {
  struct Case {
    std::vector<std::string_view> args;
    Command command;
    std::string port, file;
    bool json, eeprom;
  };
  const Case cases[] = {
      {{"info"}, Command::Info, "1", "", false, false},
      {{"--port", "sim", "info", "--json"}, Command::Info, "sim", "", true, false},
      {{"get", "--eeprom", "-o", "p.cfg", "--port", "/dev/pts/3"},
       Command::Get,
       "/dev/pts/3",
       "p.cfg",
       false,
       true},
      {{"send", "p.cfg", "--eeprom"}, Command::Send, "1", "p.cfg", false, true},
      {{"--port=sim", "get", "-o", "--odd-name.cfg"},
       Command::Get,
       "sim",
       "--odd-name.cfg",
       false,
       false},
      {{"compare"}, Command::Compare, "1", "", false, false},
      {{"compare", "--json", "p.cfg", "--port", "2"}, Command::Compare, "2", "p.cfg", true, false},
      {{"video", "-o", "v.csv"}, Command::Video, "1", "v.csv", false, false},
      {{"data"}, Command::Data, "1", "", false, false},
  };
  for (const Case& c : cases) {
    const CliOptions o = parseCliOptions(c.args);
    SCOPED_TRACE(c.args.front());
    ASSERT_EQ(o.error, "");
    EXPECT_EQ(o.command, c.command);
    EXPECT_EQ(o.port, c.port);
    EXPECT_EQ(o.file, c.file);
    EXPECT_EQ(o.json, c.json);
    EXPECT_EQ(o.eeprom, c.eeprom);
  }
}

TEST(CliOptions, RecordAndFlashTakeTheirNumbersAndTheSensor) {
  const CliOptions record =
      parseCliOptions({"record", "run.dat", "--samples", "600", "--interval", "0"});
  ASSERT_EQ(record.error, "");
  EXPECT_EQ(record.file, "run.dat");
  EXPECT_EQ(record.interval, 0);
  EXPECT_EQ(record.samples, 600);
  const CliOptions flash = parseCliOptions({"flash", "--slave", "lin.dat"});
  ASSERT_EQ(flash.error, "");
  EXPECT_EQ(flash.file, "lin.dat");
  EXPECT_EQ(flash.master, false);
  EXPECT_EQ(parseCliOptions({"flash", "lin.dat", "--master"}).master, true);
}

TEST(CliOptions, MonitorTakesItsCountAddressFilesAndStats) {
  const CliOptions plain = parseCliOptions({"monitor"});
  ASSERT_EQ(plain.error, "");
  EXPECT_EQ(plain.command, Command::Monitor);
  EXPECT_EQ(plain.samples, 0);
  EXPECT_EQ(plain.mqtt, "");
  EXPECT_FALSE(plain.stats);
  const CliOptions full =
      parseCliOptions({"monitor", "--stats", "--mqtt=mqtts://broker.lan:8884/plant/line-3",
                       "--cafile", "ca.pem", "--samples", "65535", "--credentials", "mqtt.txt"});
  ASSERT_EQ(full.error, "");
  EXPECT_EQ(full.samples, 65535);
  EXPECT_EQ(full.mqtt, "mqtts://broker.lan:8884/plant/line-3");
  EXPECT_EQ(full.caFile, "ca.pem");
  EXPECT_EQ(full.credentials, "mqtt.txt");
  EXPECT_TRUE(full.stats);
}

TEST(CliOptions, RefusesWithAMessageThatNamesTheFault) {
  struct Case {
    std::vector<std::string_view> args;
    const char* error;
  };
  const Case cases[] = {
      {{}, "no command given"},
      {{"--port", "sim"}, "no command given"},
      {{"inof"}, "unknown command 'inof'"},
      {{"info", "--colour"}, "unknown option --colour"},
      {{"info", "extra"}, "unexpected argument 'extra'"},
      {{"compare", "a.cfg", "b.cfg"}, "unexpected argument 'b.cfg'"},
      {{"--port"}, "--port needs a value"},
      {{"info", "--port", ""}, "--port needs a value"},
      {{"info", "--port="}, "--port needs a value"},
      {{"info", "--json=yes"}, "--json takes no value"},
      {{"info", "--port=1", "--port", "2"}, "--port given twice"},
      {{"get", "-o"}, "-o needs a value"},
      {{"info", "--port", "1", "--port", "2"}, "--port given twice"},
      {{"send"}, "send needs a file"},
      {{"send", ""}, "empty file name"},
      {{"send", "p.cfg", "--json"}, "--json does not apply to send"},
      {{"info", "--eeprom"}, "--eeprom does not apply to info"},
      {{"compare", "--eeprom"}, "--eeprom does not apply to compare"},
      {{"get", "--samples", "3"}, "--samples does not apply to get"},
      {{"record", "r.dat", "--samples", "3"}, "record needs --interval and --samples"},
      {{"record", "r.dat", "--interval", "1", "--samples", "0"}, "--samples must be at least 1"},
      {{"record", "r.dat", "--interval", "-1", "--samples", "3"},
       "--interval needs a whole number from 0 to 65535"},
      {{"record", "r.dat", "--interval", "1", "--samples", "65536"},
       "--samples needs a whole number from 0 to 65535"},
      {{"record", "r.dat", "--interval", "1", "--samples", "10s"},
       "--samples needs a whole number from 0 to 65535"},
      {{"record", "r.dat", "--interval", "1.5", "--samples", "10"},
       "--interval needs a whole number from 0 to 65535"},
      {{"record", "--interval", "1", "--samples", "3"}, "record needs a file"},
      {{"flash", "lin.dat"}, "flash needs --master or --slave"},
      {{"video", "--json"}, "--json does not apply to video"},
      {{"get", "--json", "-o", "p.cfg"}, "--json prints to stdout and -o writes a file: take one"},
      {{"data", "d.csv"}, "unexpected argument 'd.csv'"},
      {{"flash", "lin.dat", "--master", "--slave"}, "flash takes one of --master and --slave"},
      {{"monitor", "--samples", "0"}, "--samples must be at least 1"},
      {{"monitor", "--samples", "65536"}, "--samples needs a whole number from 0 to 65535"},
      {{"monitor", "--interval", "1"}, "--interval does not apply to monitor"},
      {{"monitor", "--mqtt"}, "--mqtt needs a value"},
      {{"monitor", "--mqtt", "tcp://h/t"},
       "--mqtt tcp://h/t: the broker's address must start with mqtt:// or mqtts://"},
      {{"monitor", "--cafile", "ca.pem"}, "--cafile and --credentials go with --mqtt"},
      {{"monitor", "--credentials", "c.txt"}, "--cafile and --credentials go with --mqtt"},
      {{"monitor", "--mqtt", "mqtt://h/t", "--cafile", "ca.pem"},
       "--cafile needs an mqtts:// address"},
      {{"monitor", "--stats=yes"}, "--stats takes no value"},
      {{"info", "--mqtt", "mqtt://h/t"}, "--mqtt does not apply to info"},
  };
  for (const Case& c : cases) {
    const CliOptions o = parseCliOptions(c.args);
    EXPECT_EQ(o.error, c.error) << (c.args.empty() ? "(nothing)" : c.args.front());
  }
}

TEST(CliOptions, HelpAndVersionNeedNoCommand) {
  EXPECT_TRUE(parseCliOptions({"--help"}).help);
  EXPECT_TRUE(parseCliOptions({"--version"}).version);
  EXPECT_EQ(parseCliOptions({"--help"}).error, "");
}

}  // namespace
}  // namespace qrix::cli
