#pragma once
// The parameter file: the 45 frame words of frames 0, 1 and 2, one unsigned decimal number per
// line, right-aligned in 10 characters, CR LF line ends.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qrix {

struct Program;
struct ParameterRecord;

inline constexpr int kParaFileWords = 45;
using ParaFileWords = std::array<std::uint16_t, kParaFileWords>;

// ReadParaFromFile results.
inline constexpr int kParaFileLoaded = 1;
inline constexpr int kParaFileCancelled = 0;
inline constexpr int kParaFileError = -1;

// Text of a parameter file for the 45 words.
std::string formatParaFile(const ParaFileWords& words);
// The 45 words of a parameter file; none when it cannot be read as 45 unsigned numbers.
// Numbers above 65535 keep their low 16 bits.
std::optional<ParaFileWords> parseParaFile(const std::string& path);
// The 45 words of the record, frame by frame, as they would travel.
ParaFileWords recordToWords(const ParameterRecord& record);
// The record takes the 45 words, frame by frame (the exact inverse).
void wordsToRecord(const ParaFileWords& words, ParameterRecord& record);

// SEND with target FILE: save dialog, overwrite question, SendParaToFile.
void SaveParaFile(Program& p);
// Writes the panels' values into file_name; false when the file could not be written, with the
// system's reason in `reason` when given.
bool SendParaToFile(Program& p, std::string* reason = nullptr);
// Load dialog and, if a file was chosen and read, the record takes it.
int ReadParaFromFile(Program& p);

}  // namespace qrix
