#pragma once
// The command line's JSON times read back: "2026-12-09T14:20:01.123Z" as milliseconds since
// the epoch, for the tests and the benchmark that compare them with a clock.

#include <ctime>
#include <regex>
#include <string>

namespace qrix::testing {

// -1 when the text is not of that form.
inline long long millisOfIsoTime(const std::string& time) {
  static const std::regex form(R"((\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)\.(\d{3})Z)");
  std::smatch m;
  if (!std::regex_match(time, m, form)) {
    return -1;
  }
  std::tm t{};
  t.tm_year = std::stoi(m[1]) - 1900;
  t.tm_mon = std::stoi(m[2]) - 1;
  t.tm_mday = std::stoi(m[3]);
  t.tm_hour = std::stoi(m[4]);
  t.tm_min = std::stoi(m[5]);
  t.tm_sec = std::stoi(m[6]);
  return static_cast<long long>(timegm(&t)) * 1000 + std::stoi(m[7]);
}

}  // namespace qrix::testing
