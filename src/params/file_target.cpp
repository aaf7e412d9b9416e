#include "params/file_target.h"

#include "params/panel_binding.h"
#include "params/param_file.h"
#include "program/program.h"
#include "runtime/output_file.h"

namespace qrix {

namespace {

constexpr const char* kDefaultName = "QRIXpara.cfg";
constexpr const char* kFilter = "*.cfg";

void showWriteError(Program& p) {
  p.storeStatusText("Error writing parameter file!");
  p.showStoredStatus();
}

}  // namespace

bool SendParaToFile(Program& p, std::string* reason) {
  GetPanelValues(p);
  if (files::writeFileAtomically(p.st.file_name, formatParaFile(recordToWords(p.st.parameter)),
                                 reason)) {
    return true;
  }
  showWriteError(p);
  return false;
}

void SaveParaFile(Program& p) {
  std::string refusal;
  const std::optional<std::string> path =
      p.chooseFileToWrite(kDefaultName, kFilter, "Q-RIX-MS-Series Parameter File", &refusal);
  if (!path) {
    if (!refusal.empty()) {
      showWriteError(p);
    }
    return;
  }
  p.st.file_name = *path;
  SendParaToFile(p);
}

int ReadParaFromFile(Program& p) {
  FileSelection choice = p.selectFile(kDefaultName, kFilter, "Q-RIX-MS-Series-Parameter-File",
                                      FileDialogMode::Load, FileDialogButton::Load);
  if (choice.status == VAL_NO_FILE_SELECTED) {
    return kParaFileCancelled;
  }
  p.st.file_name = choice.path;
  std::optional<ParaFileWords> words = parseParaFile(choice.path);
  if (!words) {
    p.storeStatusText("Error reading parameter file!");
    p.showStoredStatus();
    return kParaFileError;
  }
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    for (int i = 0; i < kFrameWords; ++i) {
      p.st.pp[static_cast<size_t>(i)] = (*words)[static_cast<size_t>(frame * kFrameWords + i)];
    }
    CopyPPtoVars(p.st.pp, frame, p.st.parameter);
  }
  return kParaFileLoaded;
}

}  // namespace qrix
