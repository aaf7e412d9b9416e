#include "qdas/dfq_time.h"

#include <cstdio>
#include <stdexcept>

namespace qrix::qdas {

namespace {

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and back: the era
// arithmetic of 400-year cycles, exact for any year.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, DateTime& t) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(m);
  t.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b != 0 && a < 0);
}

}  // namespace

DateTime plusSeconds(const DateTime& t, std::int64_t seconds) {
  constexpr std::int64_t kDay = 86400;
  const std::int64_t days =
      daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day));
  const std::int64_t total = days * kDay + t.hour * 3600 + t.minute * 60 + t.second + seconds;
  const std::int64_t day = floorDiv(total, kDay);
  const std::int64_t inDay = total - day * kDay;
  DateTime out;
  civilFromDays(day, out);
  out.hour = static_cast<int>(inDay / 3600);
  out.minute = static_cast<int>(inDay / 60 % 60);
  out.second = static_cast<int>(inDay % 60);
  return out;
}

std::string dfqDateTime(const DateTime& t) {
  if (t.year < 0 || t.year > 9999) {
    throw std::out_of_range("a date beyond the year 9999");
  }
  char text[40];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d/%02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace qrix::qdas
