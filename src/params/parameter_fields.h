#pragma once
// The fields of the three parameter frames as the panels name them, with their units and their
// place among the 45 words of a parameter file. Values are the words as they travel; only the
// set-point is signed.

#include <cstdint>
#include <string>
#include <vector>

#include "params/param_file.h"

namespace qrix {

struct ParameterField {
  const char* section;  // "system", "master", "slave"
  std::string name;     // the panel's label
  const char* unit;     // empty when the value is a list choice or a count
  int firstWord;        // index among the 45 words
  int words;            // 1, or 2 for a 32-bit value (low word first)
  bool isSigned;
};

const std::vector<ParameterField>& parameterFields();
std::int64_t fieldValue(const ParameterField& field, const ParaFileWords& words);

}  // namespace qrix
