#include "compare/compare_table.h"

#include <algorithm>

#include "params/parameter_fields.h"

namespace qrix {

namespace {

constexpr std::size_t kNameWidth = 26;
constexpr std::size_t kUnitWidth = 14;
constexpr std::size_t kValueWidth = 12;

// Characters, not bytes: the units hold a µ.
std::size_t shownWidth(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string padRight(std::string text, std::size_t width) {
  const std::size_t shown = shownWidth(text);
  if (shown < width) text.append(width - shown, ' ');
  return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
  const std::size_t shown = shownWidth(text);
  return shown < width ? std::string(width - shown, ' ') + text : text;
}

}  // namespace

CompareTable compareTable(const std::vector<CompareColumn>& columns) {
  CompareTable table;
  int line = 0;
  auto add = [&](const std::string& text) {
    table.text += text + '\n';
    ++line;
  };
  std::string header = "  " + padRight("Field", kNameWidth) + padRight("Unit", kUnitWidth);
  for (const CompareColumn& c : columns) header += padLeft(c.title, kValueWidth);
  add(header);
  // The panels' order: the two sensors first, then the system.
  const struct {
    const char* section;
    const char* title;
  } sections[] = {
      {"master", "MASTER sensor"}, {"slave", "SLAVE sensor"}, {"system", "System parameters"}};
  for (const auto& s : sections) {
    add("");
    add(s.title);
    for (const ParameterField& f : parameterFields()) {
      if (std::string(f.section) != s.section) continue;
      std::string values;
      bool differs = false;
      for (const CompareColumn& c : columns) {
        const std::int64_t value = fieldValue(f, c.words);
        differs |= value != fieldValue(f, columns.front().words);
        values += padLeft(std::to_string(value), kValueWidth);
      }
      if (differs) table.differingLines.push_back(line);
      add(std::string(differs ? "* " : "  ") + padRight(f.name, kNameWidth) +
          padRight(f.unit, kUnitWidth) + values);
    }
  }
  return table;
}

}  // namespace qrix
