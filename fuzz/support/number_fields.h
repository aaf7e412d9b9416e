#pragma once
// The fields of a text file of numbers, read independently of the program's reader: what a
// field certainly is (a plain decimal number, or certainly no number), so that a harness knows
// which files must be taken and which refused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// What one field of a file must do: give this word, make the file refused, or either.
struct FieldVerdict {
  enum Kind { Word, Refuse, Unclear } kind = Unclear;
  std::uint16_t word = 0;
};
// What a file of `count` numbers must do: be taken with these words, or be refused; none when
// either may be right. Fewer than `count` fields, or one field refused, refuse the file.
struct FileVerdict {
  bool taken = false;
  std::vector<std::uint16_t> words;
};
std::optional<FileVerdict> expectedVerdict(std::string_view text, std::size_t count,
                                           FieldVerdict (*judge)(const FieldValue&));

// A fuzz input as two files: as it is, and followed by `count` zeros, so that a short input also
// makes a whole file whose first fields it sets.
std::array<std::string, 2> asFiles(const std::uint8_t* data, std::size_t size, std::size_t count);

}  // namespace qrix::fuzz
