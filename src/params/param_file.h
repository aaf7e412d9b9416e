#pragma once
// The parameter file: the 45 frame words of frames 0, 1 and 2, one unsigned decimal number per
// line, right-aligned in 10 characters, CR LF line ends.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "program/parameter.h"

namespace qrix {

// A parameter file holds the record's words.
inline constexpr int kParaFileWords = kRecordWords;
using ParaFileWords = RecordWords;

// Text of a parameter file for the 45 words.
std::string formatParaFile(const ParaFileWords& words);
// The 45 words of a parameter file; none when it cannot be read as 45 unsigned numbers.
// Numbers above 65535 keep their low 16 bits.
std::optional<ParaFileWords> parseParaFile(const std::string& path);

}  // namespace qrix
