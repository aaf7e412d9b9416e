#include "compare/compare_table.h"

#include <algorithm>

#include "params/parameter_fields.h"

namespace qrix {

namespace {

constexpr std::size_t kNameWidth = 25;
constexpr std::size_t kUnitWidth = 14;
constexpr std::size_t kValueWidth = 9;
constexpr std::size_t kGroupGap = 4;

// Characters, not bytes: the units hold a µ.
std::size_t shownWidth(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string padRight(std::string text, std::size_t width) {
  const std::size_t shown = shownWidth(text);
  if (shown < width) {
    text.append(width - shown, ' ');
  }
  return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
  const std::size_t shown = shownWidth(text);
  return shown < width ? std::string(width - shown, ' ') + text : text;
}

const ParameterField* findField(const char* section, const std::string& name) {
  for (const ParameterField& f : parameterFields()) {
    if (std::string(f.section) == section && f.name == name) {
      return &f;
    }
  }
  return nullptr;
}

// One group of columns: the field's value in each source; `differs` is set when they disagree.
std::string valueGroup(const ParameterField& field, const std::vector<CompareColumn>& columns,
                       bool& differs) {
  std::string text;
  for (const CompareColumn& c : columns) {
    const std::int64_t value = fieldValue(field, c.words);
    differs |= value != fieldValue(field, columns.front().words);
    text += padLeft(std::to_string(value), kValueWidth);
  }
  return text;
}

}  // namespace

CompareTable compareTable(const std::vector<CompareColumn>& columns) {
  CompareTable table;
  int line = 0;
  auto add = [&](const std::string& text, bool marked = false) {
    if (marked) {
      table.differingLines.push_back(line);
    }
    table.text += text + '\n';
    ++line;
  };
  const std::size_t groupWidth = columns.size() * kValueWidth;
  std::string titles;
  for (const CompareColumn& c : columns) {
    titles += padLeft(c.title, kValueWidth);
  }
  const std::string lead = "  " + padRight("Field", kNameWidth) + padRight("Unit", kUnitWidth);
  const std::string blankLead(lead.size(), ' ');

  // The two sensors side by side: their frames hold the same fields.
  add(blankLead + padLeft("MASTER sensor", groupWidth) + std::string(kGroupGap, ' ') +
      padLeft("SLAVE sensor", groupWidth));
  add(lead + titles + std::string(kGroupGap, ' ') + titles);
  for (const ParameterField& master : parameterFields()) {
    if (std::string(master.section) != "master") {
      continue;
    }
    const ParameterField* slave = findField("slave", master.name);
    if (!slave) {
      continue;
    }
    bool differs = false;
    const std::string values = valueGroup(master, columns, differs) + std::string(kGroupGap, ' ') +
                               valueGroup(*slave, columns, differs);
    add(std::string(differs ? "* " : "  ") + padRight(master.name, kNameWidth) +
            padRight(master.unit, kUnitWidth) + values,
        differs);
  }
  add("");
  add(blankLead + padLeft("System parameters", groupWidth));
  add(lead + titles);
  for (const ParameterField& f : parameterFields()) {
    if (std::string(f.section) != "system") {
      continue;
    }
    bool differs = false;
    const std::string values = valueGroup(f, columns, differs);
    add(std::string(differs ? "* " : "  ") + padRight(f.name, kNameWidth) +
            padRight(f.unit, kUnitWidth) + values,
        differs);
  }
  return table;
}

}  // namespace qrix
