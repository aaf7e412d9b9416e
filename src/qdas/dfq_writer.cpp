#include "qdas/dfq_writer.h"

#include <charconv>
#include <cmath>

#include "qdas/dfq_fields.h"

namespace qrix::qdas {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The shortest text that reads back as the same double.
std::string number(double value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return {text, ec == std::errc{} ? end : text};
}

// A field of the first characteristic: "K2002/1 text".
void appendField(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("/1 ").append(value).append(kLineEnd);
}

std::string checkNumber(std::string_view key, const std::optional<double>& value) {
  if (value && !std::isfinite(*value)) {
    return std::string(key) + " is not a finite number";
  }
  return {};
}

}  // namespace

std::string checkDescription(const Description& d) {
  for (const auto& [field, text] :
       {std::pair{kPartNumber, &d.partNumber}, std::pair{kPartDescription, &d.partDescription},
        std::pair{kCharacteristicNumber, &d.characteristicNumber},
        std::pair{kCharacteristicDescription, &d.characteristicDescription},
        std::pair{kUnit, &d.unit}}) {
    if (std::string fault = checkText(field, *text); !fault.empty()) {
      return fault;
    }
  }
  for (const auto& [key, value] : {std::pair{"K2101", &d.nominal}, std::pair{"K2110", &d.lower},
                                   std::pair{"K2111", &d.upper}}) {
    if (std::string fault = checkNumber(key, *value); !fault.empty()) {
      return fault;
    }
  }
  if (d.lower && d.upper && !(*d.upper > *d.lower)) {
    return "K2111 (upper limit) is not above K2110 (lower limit)";
  }
  return {};
}

std::string checkValueSource(const ValueSource& s) {
  if (!s.operatorNumber.empty()) {
    if (std::string fault = checkCatalogueNumber(kOperator, s.operatorNumber); !fault.empty()) {
      return fault;
    }
  }
  if (!s.gaugeNumber.empty()) {
    return checkCatalogueNumber(kGauge, s.gaugeNumber);
  }
  return {};
}

std::string descriptionText(const Description& d) {
  std::string out;
  // One characteristic in the file.
  out.append("K0100 1").append(kLineEnd);
  out.append("K1001 ").append(d.partNumber).append(kLineEnd);
  out.append("K1002 ").append(d.partDescription).append(kLineEnd);
  appendField(out, "K2001", d.characteristicNumber);
  appendField(out, "K2002", d.characteristicDescription);
  if (d.nominal) {
    appendField(out, "K2101", number(*d.nominal));
  }
  if (d.lower) {
    appendField(out, "K2110", number(*d.lower));
  }
  if (d.upper) {
    appendField(out, "K2111", number(*d.upper));
  }
  appendField(out, "K2142", d.unit);
  return out;
}

void appendValue(std::string& out, double value, const DateTime& when, const ValueSource& source) {
  appendField(out, "K0001", number(value));
  appendField(out, "K0004", dfqDateTime(when));
  if (!source.operatorNumber.empty()) {
    appendField(out, "K0008", source.operatorNumber);
  }
  if (!source.gaugeNumber.empty()) {
    appendField(out, "K0012", source.gaugeNumber);
  }
}

}  // namespace qrix::qdas
