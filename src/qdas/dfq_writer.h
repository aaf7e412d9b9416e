#pragma once
// A Q-DAS value file (.dfq) of one characteristic, in the form of one K-field per line
// ("K0001/1 1716"): the description part (K0100, the part's K1001 and K1002, the
// characteristic's K2001, K2002, nominal K2101, limits K2110 and K2111, unit K2142), then for
// each value K0001 with its date and time K0004 and, when known, operator K0008 and gauge K0012.
// A new K0001 line starts the next value. Numbers are written with a decimal point and no more
// digits than they need; lines end in CR LF.

#include <optional>
#include <string>

#include "qdas/dfq_time.h"

namespace qrix::qdas {

struct Description {
  std::string partNumber = "1", partDescription;
  std::string characteristicNumber = "1", characteristicDescription;
  std::optional<double> nominal, lower, upper;  // a field without a value is left out
  std::string unit;
};

// Catalogue numbers of who and what measured; empty: left out.
struct ValueSource {
  std::string operatorNumber, gaugeNumber;
};

// Empty when every field fits AQDEF, else the first that does not and why.
std::string checkDescription(const Description& d);
std::string checkValueSource(const ValueSource& s);

// The description part, for fields that passed the checks.
std::string descriptionText(const Description& d);
// Appends one value's lines.
void appendValue(std::string& out, double value, const DateTime& when, const ValueSource& source);

}  // namespace qrix::qdas
