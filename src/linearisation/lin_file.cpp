#include "linearisation/lin_file.h"

#include "program/program.h"
#include "runtime/files.h"

namespace qrix {

std::uint16_t linWord(std::int16_t value) {
  // The offset is 32767, not 32768.
  return static_cast<std::uint16_t>(value + 32767);
}

std::optional<LinTable> parseLinFile(const std::string& path) {
  // A short, non-numeric or out-of-range file would otherwise reach the flash as a table of
  // wrong words; it is refused whole.
  const auto read = files::readIntegers(path, kLinWords);
  if (!read) {
    return std::nullopt;
  }
  LinTable table{};
  for (int i = 0; i < kLinWords; ++i) {
    const std::int64_t v = (*read)[static_cast<std::size_t>(i)];
    if (!linValueInRange(v)) {
      return std::nullopt;
    }
    table[static_cast<std::size_t>(i)] = linWord(static_cast<std::int16_t>(v));
  }
  return table;
}

int ReadLinDataFromFile(Program& p, LinTable& values) {
  FileSelection choice =
      p.selectFile("XF-LINEAR.DAT", "*.dat", "Q-RIX-LT-Series-Linearisation-File",
                   FileDialogMode::Load, FileDialogButton::Load);
  if (choice.status == VAL_NO_FILE_SELECTED) {
    return kLinFileCancelled;
  }
  p.st.file_name = choice.path;

  const std::optional<LinTable> table = parseLinFile(choice.path);
  if (!table) {
    p.storeStatusText("Error reading linearisation file!");
    p.showStoredStatus();
    return kLinFileError;
  }
  values = *table;
  return kLinFileLoaded;
}

}  // namespace qrix
