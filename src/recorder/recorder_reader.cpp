#include "recorder/recorder_reader.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "runtime/files.h"

namespace qrix {

namespace {

constexpr std::size_t kColumnCount = 6;

struct Column {
  std::string_view name;
  std::int64_t min, max;
};
constexpr std::array<Column, kColumnCount> kColumns = {{
    {"SLAVE", 0, 65535},
    {"MASTER", 0, 65535},
    {"MVAL", 0, 65535},
    {"MVAL[um]", std::numeric_limits<std::int32_t>::min(),
     std::numeric_limits<std::int32_t>::max()},
    {"S_EDGE", 0, 65535},
    {"M_EDGE", 0, 65535},
}};

enum class Parsed { Ok, NotANumber, OutOfRange };

// The whole text as one integer within min..max.
Parsed parseWhole(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& out) {
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, out);
  if (ec == std::errc::invalid_argument || stop != end) {
    return Parsed::NotANumber;
  }
  if (ec == std::errc::result_out_of_range || out < min || out > max) {
    return Parsed::OutOfRange;
  }
  return Parsed::Ok;
}

// A field's text for a message: short, and nothing a terminal would act on.
std::string quoted(std::string_view text) {
  constexpr std::size_t kShown = 16;
  std::string shown = "\"";
  for (char c : text.substr(0, kShown)) {
    shown += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  if (text.size() > kShown) {
    shown += "...";
  }
  return shown + "\"";
}

std::string range(const Column& c) {
  return std::to_string(c.min) + ".." + std::to_string(c.max);
}

bool isLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysIn(int month, int year) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Two or four digits at `at`, as a number; -1 when they are not all digits.
int digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return -1;
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// "MM-DD-YYYY HH:MM:SS", a date and time that exist.
bool parseStart(std::string_view line, RecorderHeader& h) {
  if (line.size() != 19 || line[2] != '-' || line[5] != '-' || line[10] != ' ' || line[13] != ':' ||
      line[16] != ':') {
    return false;
  }
  h.month = digits(line, 0, 2);
  h.day = digits(line, 3, 2);
  h.year = digits(line, 6, 4);
  h.hour = digits(line, 11, 2);
  h.minute = digits(line, 14, 2);
  h.second = digits(line, 17, 2);
  if (h.month < 1 || h.month > 12 || h.year < 0 || h.day < 1 || h.day > daysIn(h.month, h.year) ||
      h.hour < 0 || h.hour > 23 || h.minute < 0 || h.minute > 59 || h.second < 0 || h.second > 59) {
    return false;
  }
  h.date = line.substr(0, 10);
  h.time = line.substr(11);
  return true;
}

// The value after `label`, or nullopt-like false when the line does not start with it.
bool valueAfter(std::string_view line, std::string_view label, std::string_view& value) {
  if (!line.starts_with(label)) {
    return false;
  }
  value = line.substr(label.size());
  return true;
}

}  // namespace

bool RecorderReader::fail(std::string what) {
  fault_ = {line_ + 1, std::move(what)};
  return false;
}

bool RecorderReader::feed(std::string_view bytes) {
  if (!fault_.what.empty()) {
    return false;
  }
  while (!bytes.empty()) {
    const void* found = std::memchr(bytes.data(), '\n', bytes.size());
    if (!found) {
      if (partial_.size() + bytes.size() > kLongestLine) {
        return fail("longer than " + std::to_string(kLongestLine) + " bytes: no recorder line");
      }
      partial_.append(bytes);
      return true;
    }
    const std::size_t length =
        static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
    std::string_view line = bytes.substr(0, length);
    bytes.remove_prefix(length + 1);
    if (!partial_.empty()) {
      partial_.append(line);
      line = partial_;
    }
    // The recorder ends its lines with CR LF; a file whose CRs were taken out reads the same.
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line.size() > kLongestLine) {
      return fail("longer than " + std::to_string(kLongestLine) + " bytes: no recorder line");
    }
    const bool taken = takeLine(line);
    partial_.clear();
    if (!taken) {
      return false;
    }
  }
  return true;
}

bool RecorderReader::finish() {
  if (!fault_.what.empty()) {
    return false;
  }
  if (!partial_.empty()) {
    return fail("the line has no line end: the file is cut off");
  }
  if (line_ == 0) {
    return fail("not a recorder file: the file is empty");
  }
  if (!headerRead()) {
    return fail("not a recorder file: the header ends after " + std::to_string(line_) +
                (line_ == 1 ? " line" : " lines"));
  }
  return true;
}

bool RecorderReader::takeLine(std::string_view line) {
  const bool taken = headerRead() ? takeSampleLine(line) : takeHeaderLine(line);
  if (taken) {
    ++line_;
  }
  return taken;
}

bool RecorderReader::takeHeaderLine(std::string_view line) {
  std::string_view value;
  std::int64_t number = 0;
  switch (line_) {
    case 0:
      if (!parseStart(line, header_)) {
        return fail("not a recorder file: the first line is no date and time MM-DD-YYYY HH:MM:SS");
      }
      return true;
    case 1:
      if (!valueAfter(line, recorder_text::kIntervalLabel, value)) {
        return fail("not a recorder file: no recorder line with the interval");
      }
      if (parseWhole(value, 0, 65535, number) != Parsed::Ok) {
        return fail("the interval " + quoted(value) + " is no whole number of seconds 0..65535");
      }
      header_.interval = static_cast<std::uint16_t>(number);
      return true;
    case 2:
      // The micro sign also as UTF-8, for a file an editor has converted.
      if (!valueAfter(line, recorder_text::kSetpointLabel, value) &&
          !valueAfter(line, "SETPOINT-VALUE [\xC2\xB5m]: ", value)) {
        return fail("not a recorder file: no set-point line");
      }
      if (parseWhole(value, kColumns[3].min, kColumns[3].max, number) != Parsed::Ok) {
        return fail("the set-point " + quoted(value) + " is no number " + range(kColumns[3]));
      }
      header_.setpoint = static_cast<std::int32_t>(number);
      return true;
    default:
      if (line != recorder_text::kColumns) {
        return fail(
            "not a recorder file: the columns are not SLAVE MASTER MVAL MVAL[um] "
            "S_EDGE M_EDGE");
      }
      return true;
  }
}

bool RecorderReader::takeSampleLine(std::string_view line) {
  std::array<std::int64_t, kColumnCount> values{};
  const char* p = line.data();
  const char* const end = p + line.size();
  std::size_t column = 0;
  for (; column < kColumnCount; ++column) {
    if (column > 0) {
      if (p == end || *p != '\t') {
        break;
      }
      ++p;
    }
    const auto [stop, ec] = std::from_chars(p, end, values[column]);
    if (ec != std::errc{} || (stop != end && *stop != '\t') ||
        values[column] < kColumns[column].min || values[column] > kColumns[column].max) {
      break;
    }
    p = stop;
  }
  if (column < kColumnCount || p != end) {
    // The slow path, for the message only.
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
      const std::size_t tab = line.find('\t', from);
      fields.push_back(line.substr(from, tab - from));
      if (tab == std::string_view::npos) {
        break;
      }
      from = tab + 1;
    }
    if (fields.size() != kColumnCount) {
      return fail(std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields") +
                  " where the recorder writes " + std::to_string(kColumnCount));
    }
    const Column& c = kColumns[column];
    std::int64_t number = 0;
    if (parseWhole(fields[column], c.min, c.max, number) == Parsed::NotANumber) {
      return fail(std::string(c.name) + ": " + quoted(fields[column]) + " is not a number");
    }
    return fail(std::string(c.name) + ": " + quoted(fields[column]) + " is out of range " +
                range(c));
  }
  const RecorderSample sample{
      static_cast<std::uint16_t>(values[0]), static_cast<std::uint16_t>(values[1]),
      static_cast<std::uint16_t>(values[2]), static_cast<std::int32_t>(values[3]),
      static_cast<std::uint16_t>(values[4]), static_cast<std::uint16_t>(values[5])};
  if (onSample_) {
    onSample_(samples_, sample);
  }
  ++samples_;
  return true;
}

std::string faultText(const std::string& path, const RecorderFault& fault) {
  if (fault.line == 0) {
    return path + ": " + fault.what;
  }
  return path + ":" + std::to_string(fault.line) + ": " + fault.what;
}

bool readRecorderFile(const std::string& path, const RecorderSampleHandler& onSample,
                      RecorderHeader& header, RecorderFault& fault) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  const std::unique_ptr<std::FILE, Closer> file(files::openFile(path, "rb"));
  if (!file) {
    fault = {0, std::strerror(errno)};
    return false;
  }
  RecorderReader reader(onSample);
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  std::vector<char> block(kBlock);
  bool ok = true;
  while (ok) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
    if (got == 0) {
      break;
    }
    ok = reader.feed({block.data(), got});
  }
  if (ok && std::ferror(file.get())) {
    fault = {0, std::string("cannot read: ") + std::strerror(errno)};
    return false;
  }
  ok = ok && reader.finish();
  header = reader.header();
  fault = reader.fault();
  return ok;
}

}  // namespace qrix
