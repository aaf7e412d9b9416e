#include "support/number_fields.h"

#include <algorithm>

namespace qrix::fuzz {

namespace {
bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

std::vector<std::string_view> leadingFields(std::string_view text, std::size_t limit) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (fields.size() < limit) {
    while (i < text.size() && isSpace(text[i])) {
      ++i;
    }
    if (i == text.size()) {
      break;
    }
    const std::size_t start = i;
    while (i < text.size() && !isSpace(text[i])) {
      ++i;
    }
    fields.push_back(text.substr(start, i - start));
  }
  return fields;
}

FieldValue fieldValue(std::string_view field) {
  FieldValue v;
  if (std::any_of(field.begin(), field.end(),
                  [](char c) { return !isDigit(c) && c != '+' && c != '-'; })) {
    v.kind = FieldValue::NotANumber;
    return v;
  }
  bool negative = false;
  if (!field.empty() && (field[0] == '+' || field[0] == '-')) {
    negative = field[0] == '-';
    field.remove_prefix(1);
  }
  if (field.empty() || !std::all_of(field.begin(), field.end(), isDigit)) {
    return v;  // unclear
  }
  v.kind = FieldValue::Number;
  std::uint32_t low = 0;
  for (char c : field) {
    low = (low * 10 + static_cast<std::uint32_t>(c - '0')) % 65536;
  }
  v.low16 = static_cast<std::uint16_t>(negative ? (65536 - low) % 65536 : low);
  v.fits18 = field.size() <= 18;
  if (v.fits18) {
    for (char c : field) {
      v.value = v.value * 10 + (c - '0');
    }
    if (negative) {
      v.value = -v.value;
    }
  }
  return v;
}

std::optional<FileVerdict> expectedVerdict(std::string_view text, std::size_t count,
                                           FieldVerdict (*judge)(const FieldValue&)) {
  const std::vector<std::string_view> fields = leadingFields(text, count);
  if (fields.size() < count) {
    return FileVerdict{};
  }
  FileVerdict taken{true, {}};
  bool clear = true;
  for (std::string_view field : fields) {
    const FieldVerdict v = judge(fieldValue(field));
    if (v.kind == FieldVerdict::Refuse) {
      return FileVerdict{};
    }
    clear = clear && v.kind == FieldVerdict::Word;
    taken.words.push_back(v.word);
  }
  if (!clear) {
    return std::nullopt;
  }
  return taken;
}

std::array<std::string, 2> asFiles(const std::uint8_t* data, std::size_t size, std::size_t count) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string completed = text + "\n";
  for (std::size_t i = 0; i < count; ++i) {
    completed += "0\n";
  }
  return {std::move(text), std::move(completed)};
}

}  // namespace qrix::fuzz
