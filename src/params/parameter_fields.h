#pragma once
// The fields of the three parameter frames as the panels name them, with their units and their
// place among the 45 words of a parameter file. Values are the words as they travel; only the
// set-point is signed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "params/param_file.h"

namespace qrix {

// Stand-ins for a limit that hangs on the sensor's virtual pixel count.
inline constexpr std::int64_t kNoLimit = -1;
inline constexpr std::int64_t kPixels = -2;      // the count itself
inline constexpr std::int64_t kHalfPixels = -3;  // half of it

struct ParameterField {
  const char* section;  // "system", "master", "slave"
  std::string name;     // the panel's label
  const char* unit;     // empty when the value is a list choice or a count
  int firstWord;        // index among the 45 words
  int words;            // 1, or 2 for a 32-bit value (low word first)
  bool isSigned;
  // The largest value the panels take, and what they put in place of a larger one.
  std::int64_t maximum = kNoLimit;
  std::int64_t replacement = 0;
};

const std::vector<ParameterField>& parameterFields();
std::int64_t fieldValue(const ParameterField& field, const ParaFileWords& words);

// The largest value of the field the panels take with `pixels` virtual pixels; none when any.
std::optional<std::int64_t> fieldMaximum(const ParameterField& field, std::uint16_t pixels);

// A field the panels put another value in: where it is, what it was and what it became.
struct LimitedField {
  const ParameterField* field;
  std::int64_t was, now;
};
// Puts the panels' replacement in every field above its maximum, as the panels do when they
// take the words; what was replaced, in file order.
std::vector<LimitedField> limitFields(ParaFileWords& words, std::uint16_t pixels);
// "File limited: master Light power 1001 -> 500 (and 2 more)".
std::string describeLimited(const std::vector<LimitedField>& limited);

}  // namespace qrix
