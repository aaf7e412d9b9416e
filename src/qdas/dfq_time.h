#pragma once
// Calendar times of a Q-DAS value file: a wall-clock time as the recorder wrote it, moved on by
// whole seconds in plain calendar arithmetic (no time zone, so no daylight-saving step), and
// written as AQDEF's DD.MM.YYYY/HH:MM:SS.

#include <cstdint>
#include <string>

namespace qrix::qdas {

struct DateTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

DateTime plusSeconds(const DateTime& t, std::int64_t seconds);
// "DD.MM.YYYY/HH:MM:SS"; throws std::out_of_range for a year that takes more than four digits.
std::string dfqDateTime(const DateTime& t);

}  // namespace qrix::qdas
