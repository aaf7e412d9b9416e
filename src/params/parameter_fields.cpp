#include "params/parameter_fields.h"

#include "program/parameter.h"

namespace qrix {

namespace {

std::vector<ParameterField> buildFields() {
  std::vector<ParameterField> fields = {
      {"system", "Evaluation mode", "", 0, 1, false},
      {"system", "Trigger mode", "", 1, 1, false},
      {"system", "Analog output", "", 2, 1, false},
      {"system", "Hardware operation mode", "", 3, 1, false},
      {"system", "Averaging", "scans", 4, 1, false},
      {"system", "Output polarity", "", 5, 1, false},
      {"system", "Tolerance low", "virtual px", 6, 1, false},
      {"system", "Tolerance up", "virtual px", 7, 1, false},
  };
  for (int i = 0; i < 5; ++i)
    fields.push_back({"system", "Spare word " + std::to_string(i + 1), "", 8 + i, 1, false});
  fields.push_back({"system", "Set-point", "µm", 13, 2, true});
  for (int frame = 1; frame <= 2; ++frame) {
    const char* section = frame == 1 ? "master" : "slave";
    const int base = frame * kFrameWords;
    const ParameterField sensor[] = {
        {section, "Light power", "", base + 0, 1, false},
        {section, "Power mode", "", base + 1, 1, false},
        {section, "Video threshold", "%", base + 2, 1, false},
        {section, "Teach value", "virtual px", base + 3, 1, false},
        {section, "Pixel range begin", "virtual px", base + 4, 1, false},
        {section, "Pixel range end", "virtual px", base + 5, 1, false},
        {section, "CCD operation mode", "", base + 6, 1, false},
        {section, "Trigger threshold", "virtual px", base + 7, 1, false},
    };
    fields.insert(fields.end(), std::begin(sensor), std::end(sensor));
    for (int i = 0; i < 3; ++i)
      fields.push_back(
          {section, "Spare word " + std::to_string(i + 1), "", base + 8 + i, 1, false});
    fields.push_back({section, "Scale", "µm/px x 1024", base + 11, 2, false});
    fields.push_back({section, "Spare long word", "", base + 13, 2, false});
  }
  return fields;
}

}  // namespace

const std::vector<ParameterField>& parameterFields() {
  static const std::vector<ParameterField> fields = buildFields();
  return fields;
}

std::int64_t fieldValue(const ParameterField& field, const ParaFileWords& words) {
  const auto word = [&](int i) { return std::uint32_t{words[static_cast<std::size_t>(i)]}; };
  if (field.words == 1) return word(field.firstWord);
  const std::uint32_t value = word(field.firstWord) | (word(field.firstWord + 1) << 16);
  return field.isSigned ? std::int64_t{static_cast<std::int32_t>(value)} : std::int64_t{value};
}

}  // namespace qrix
