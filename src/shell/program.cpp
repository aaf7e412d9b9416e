#include "shell/program.h"

namespace qrix {

void Program::showText(std::string_view text) {
  ui().SetCtrlText(st.pHandle, ids::main::TEXTStatus, text);
}

void Program::setStatus(std::string_view text) {
  // The status buffer holds 71 characters and its terminator.
  st.szStatus = std::string(text.substr(0, kStatusChars - 1));
}

}  // namespace qrix
