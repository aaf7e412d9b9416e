#pragma once
// The command line of qrix-cli: one command, its operands and options. Everything is checked
// here, before any port or file is touched.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrix::cli {

enum class Command { None, Info, Get, Send, Compare, Record, Video, Data, Flash, Monitor };

struct CliOptions {
  Command command = Command::None;
  std::string port = "1";
  bool json = false;
  bool eeprom = false;
  bool help = false;
  bool version = false;
  // get, video, data: -o FILE; send, record, flash: the operand; compare: the optional file.
  std::string file;
  std::uint16_t interval = 0;
  // record: the count; monitor: the answers to take, 0 for until a signal.
  std::uint16_t samples = 0;
  // flash: which sensor's bar shows the progress (the frames are the same).
  std::optional<bool> master;
  // monitor: where the answers go instead of stdout (mqtt[s]://HOST[:PORT]/TOPIC), the CA file
  // for mqtts, the file with the broker's user name and password, and the counts at the end.
  std::string mqtt;
  std::string caFile;
  std::string credentials;
  bool stats = false;
  // Set on a usage error: what is wrong, in words.
  std::string error;
};

CliOptions parseCliOptions(const std::vector<std::string_view>& args);
// A whole decimal number, finite; none for anything else ("1e400", "nan", "5 mm").
std::optional<double> parseFiniteNumber(std::string_view text);
std::string_view cliUsageText();
const char* nameOf(Command command);

}  // namespace qrix::cli
