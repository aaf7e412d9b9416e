#include "params/parameter_fields.h"

#include "program/parameter.h"

namespace qrix {

namespace {

std::vector<ParameterField> buildFields() {
  std::vector<ParameterField> fields = {
      {"system", "Evaluation mode", "", 0, 1, false, 4, 1},
      {"system", "Trigger mode", "", 1, 1, false, 3, 0},
      {"system", "Analog output", "", 2, 1, false, 4, 0},
      {"system", "Hardware operation mode", "", 3, 1, false, 4, 1},
      {"system", "Averaging", "scans", 4, 1, false, 2048, 1},
      {"system", "Output polarity", "", 5, 1, false, 1, 1},
      {"system", "Tolerance low", "virtual px", 6, 1, false, kPixels, kPixels},
      {"system", "Tolerance up", "virtual px", 7, 1, false, kPixels, kPixels},
  };
  for (int i = 0; i < 5; ++i) {
    fields.push_back({"system", "Spare word " + std::to_string(i + 1), "", 8 + i, 1, false});
  }
  fields.push_back({"system", "Set-point", "µm", 13, 2, true});
  for (int frame = 1; frame <= 2; ++frame) {
    const char* section = frame == 1 ? "master" : "slave";
    const int base = frame * kFrameWords;
    const ParameterField sensor[] = {
        {section, "Light power", "", base + 0, 1, false, 1000, 500},
        {section, "Power mode", "", base + 1, 1, false, 1, 0},
        {section, "Video threshold", "%", base + 2, 1, false, 255, 128},
        {section, "Teach value", "virtual px", base + 3, 1, false, kPixels, kHalfPixels},
        {section, "Pixel range begin", "virtual px", base + 4, 1, false, kPixels, 1},
        {section, "Pixel range end", "virtual px", base + 5, 1, false, kPixels, kPixels},
        {section, "CCD operation mode", "", base + 6, 1, false, 1, 0},
        {section, "Trigger threshold", "virtual px", base + 7, 1, false},
    };
    fields.insert(fields.end(), std::begin(sensor), std::end(sensor));
    for (int i = 0; i < 3; ++i) {
      fields.push_back(
          {section, "Spare word " + std::to_string(i + 1), "", base + 8 + i, 1, false});
    }
    fields.push_back({section, "Scale", "µm/px x 1024", base + 11, 2, false});
    fields.push_back({section, "Spare long word", "", base + 13, 2, false});
  }
  return fields;
}

std::int64_t resolved(std::int64_t limit, std::uint16_t pixels) {
  if (limit == kPixels) {
    return pixels;
  }
  if (limit == kHalfPixels) {
    return pixels / 2;
  }
  return limit;
}

}  // namespace

const std::vector<ParameterField>& parameterFields() {
  static const std::vector<ParameterField> fields = buildFields();
  return fields;
}

std::int64_t fieldValue(const ParameterField& field, const ParaFileWords& words) {
  const auto word = [&](int i) { return std::uint32_t{words[static_cast<std::size_t>(i)]}; };
  if (field.words == 1) {
    return word(field.firstWord);
  }
  const std::uint32_t value = word(field.firstWord) | (word(field.firstWord + 1) << 16);
  return field.isSigned ? std::int64_t{static_cast<std::int32_t>(value)} : std::int64_t{value};
}

std::optional<std::int64_t> fieldMaximum(const ParameterField& field, std::uint16_t pixels) {
  if (field.maximum == kNoLimit) {
    return std::nullopt;
  }
  return resolved(field.maximum, pixels);
}

std::vector<LimitedField> limitFields(ParaFileWords& words, std::uint16_t pixels) {
  std::vector<LimitedField> limited;
  for (const ParameterField& f : parameterFields()) {
    const std::optional<std::int64_t> maximum = fieldMaximum(f, pixels);
    const std::int64_t value = fieldValue(f, words);
    if (!maximum || value <= *maximum) {
      continue;
    }
    // Only single words have limits.
    const std::int64_t now = resolved(f.replacement, pixels);
    words[static_cast<std::size_t>(f.firstWord)] = static_cast<std::uint16_t>(now);
    limited.push_back({&f, value, now});
  }
  return limited;
}

std::string describeLimited(const std::vector<LimitedField>& limited) {
  if (limited.empty()) {
    return {};
  }
  const LimitedField& first = limited.front();
  std::string text = std::string("File limited: ") + first.field->section + " " +
                     first.field->name + " " + std::to_string(first.was) + " -> " +
                     std::to_string(first.now);
  if (limited.size() > 1) {
    text += " (and " + std::to_string(limited.size() - 1) + " more)";
  }
  return text;
}

}  // namespace qrix
