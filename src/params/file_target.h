#pragma once
// GET and SEND with the memory target FILE: the panels' values into a parameter file, and a
// parameter file into the record, each through its dialog.

#include <string>

namespace qrix {

struct Program;

// ReadParaFromFile results.
inline constexpr int kParaFileLoaded = 1;
inline constexpr int kParaFileCancelled = 0;
inline constexpr int kParaFileError = -1;

// SEND with target FILE: the save dialog (which asks before a file is replaced), then
// SendParaToFile.
void SaveParaFile(Program& p);
// Writes the panels' values into file_name; false when the file could not be written, with the
// system's reason in `reason` when given.
bool SendParaToFile(Program& p, std::string* reason = nullptr);
// Load dialog and, if a file was chosen and read, the record takes it.
int ReadParaFromFile(Program& p);

}  // namespace qrix
