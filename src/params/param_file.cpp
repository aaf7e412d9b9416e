#include "params/param_file.h"

#include <cstdio>
#include <vector>

#include "params/panel_binding.h"
#include "program/program.h"
#include "runtime/files.h"
#include "runtime/output_file.h"

namespace qrix {

namespace {
constexpr const char* kDefaultName = "QRIXpara.cfg";
constexpr const char* kFilter = "*.cfg";
}  // namespace

std::string formatParaFile(const ParaFileWords& words) {
  std::string text;
  char line[24];
  for (std::uint16_t w : words) {
    std::snprintf(line, sizeof line, "%10u\r\n", static_cast<unsigned>(w));
    text += line;
  }
  return text;
}

std::optional<ParaFileWords> parseParaFile(const std::string& path) {
  std::optional<std::vector<std::int64_t>> values = files::readIntegers(path, kParaFileWords);
  if (!values) return std::nullopt;
  ParaFileWords words{};
  for (int i = 0; i < kParaFileWords; ++i) {
    const std::int64_t v = (*values)[static_cast<size_t>(i)];
    if (v < 0) return std::nullopt;
    words[static_cast<size_t>(i)] = static_cast<std::uint16_t>(v & 0xFFFF);
  }
  return words;
}

ParaFileWords recordToWords(const ParameterRecord& record) {
  ParaFileWords words{};
  WordArray pp{};
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    CopyVarsToPP(record, frame, pp);
    for (int i = 0; i < kFrameWords; ++i)
      words[static_cast<size_t>(frame * kFrameWords + i)] = pp[static_cast<size_t>(i)];
  }
  return words;
}

void wordsToRecord(const ParaFileWords& words, ParameterRecord& record) {
  WordArray pp{};
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    for (int i = 0; i < kFrameWords; ++i)
      pp[static_cast<size_t>(i)] = words[static_cast<size_t>(frame * kFrameWords + i)];
    CopyPPtoVars(pp, frame, record);
  }
}

bool SendParaToFile(Program& p, std::string* reason) {
  GetPanelValues(p);
  if (files::writeFileAtomically(p.st.file_name, formatParaFile(recordToWords(p.st.parameter)),
                                 reason))
    return true;
  p.storeStatusText("Error writing parameter file!");
  p.showStoredStatus();
  return false;
}

void SaveParaFile(Program& p) {
  FileSelection choice = p.selectFile(kDefaultName, kFilter, "Q-RIX-MS-Series Parameter File",
                                      FileDialogMode::Save, FileDialogButton::Save);
  if (choice.status == VAL_NO_FILE_SELECTED) return;
  p.st.file_name = choice.path;
  if (choice.status == VAL_EXISTING_FILE_SELECTED &&
      p.rt.ConfirmPopup("ATTENTION!", "Output-File already exist! - Overwrite ?") != 1)
    return;
  SendParaToFile(p);
}

int ReadParaFromFile(Program& p) {
  FileSelection choice = p.selectFile(kDefaultName, kFilter, "Q-RIX-MS-Series-Parameter-File",
                                      FileDialogMode::Load, FileDialogButton::Load);
  if (choice.status == VAL_NO_FILE_SELECTED) return kParaFileCancelled;
  p.st.file_name = choice.path;
  std::optional<ParaFileWords> words = parseParaFile(choice.path);
  if (!words) {
    p.storeStatusText("Error reading parameter file!");
    p.showStoredStatus();
    return kParaFileError;
  }
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    for (int i = 0; i < kFrameWords; ++i)
      p.st.pp[static_cast<size_t>(i)] = (*words)[static_cast<size_t>(frame * kFrameWords + i)];
    CopyPPtoVars(p.st.pp, frame, p.st.parameter);
  }
  return kParaFileLoaded;
}

}  // namespace qrix
