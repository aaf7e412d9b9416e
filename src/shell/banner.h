#pragma once
// The header banner across the top of the main panel: the logo picture, the maker's lines, the
// software name and its version, drawn once at start-up.

#include <string>

#include "runtime/ui_types.h"

namespace qrix {

struct Program;

// The logo shipped with the program, next to its binary; shown when the working directory
// holds no "tv.bmp".
inline constexpr const char* kShippedLogo = "qrix-logo.bmp";

// Builds the banner; start-up calls it once with mode 2, other modes draw nothing.
void ShowLogo(Program& p, int mode);
// Creates one more text label on the main panel (labels are never removed or reused).
void ShowInfoText(Program& p, ui::Rgb bgColor, ui::Rgb textColor, const std::string& text, int left,
                  int top, int pointSize);

}  // namespace qrix
