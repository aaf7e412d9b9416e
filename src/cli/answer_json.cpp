#include "cli/answer_json.h"

#include <cstdio>
#include <ctime>

#include "cli/json_text.h"
#include "stats/judgement.h"

namespace qrix::cli {

namespace {

const char* nameOf(stats::Judgement j) {
  switch (j) {
    case stats::Judgement::Above: return "above";
    case stats::Judgement::Below: return "below";
    case stats::Judgement::Inside: break;
  }
  return "inside";
}

}  // namespace

std::string isoTimeUtc(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  const auto ms = floor<milliseconds>(at.time_since_epoch()).count();
  const auto seconds = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
  const auto millis = static_cast<int>(ms - static_cast<long long>(seconds) * 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, millis);
  return text;
}

std::string answerJsonLine(const RunValues& v, std::uint64_t seq,
                           std::chrono::system_clock::time_point at) {
  const RunAnswer& a = v.answer;
  const nlohmann::ordered_json line = {
      {"time", isoTimeUtc(at)},
      {"seq", seq},
      {"master_edge", a.Aval},
      {"slave_edge", a.Bval},
      {"value_px", a.Mvalue},
      {"value_um", a.umValue},
      {"judgement", nameOf(stats::judge(a.Mvalue, v.tVal, v.tolup, v.tollo))},
  };
  return jsonLine(line);
}

}  // namespace qrix::cli
