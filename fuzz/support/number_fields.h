#pragma once
// The fields of a text file of numbers, read independently of the program's reader: what a
// field certainly is (a plain decimal number, or certainly no number), so that a harness knows
// which files must be taken and which refused.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qrix::fuzz {

// The first `limit` fields, separated by the C locale's white space (CR and LF among it).
std::vector<std::string_view> leadingFields(std::string_view text, std::size_t limit);

// What a field says for certain.
struct FieldValue {
  enum Kind { Number, NotANumber, Unclear } kind = Unclear;
  std::uint16_t low16 = 0;  // a number's value modulo 2^16, whatever its length
  bool fits18 = false;      // at most 18 digits, so that `value` is exact
  std::int64_t value = 0;
};
// A plain number is an optional sign and 1..18 digits; a field with a character that no number
// has is certainly none; anything else (a lone sign, two signs, very long digit runs) is left
// unclear.
FieldValue fieldValue(std::string_view field);

}  // namespace qrix::fuzz
