#pragma once
// The header banner across the top of the main panel: the logo picture, the maker's lines, the
// software name and its version, drawn once at start-up.

#include <string>

#include "runtime/ui_types.h"

namespace qrix {

struct Program;

// The logo shipped with the program, shown when the working directory holds no "tv.bmp": beside
// the binary in a build tree (and on Windows), in the program's data folder once installed
// (<prefix>/share/qrix-scope beside <prefix>/bin; the build names that folder).
inline constexpr const char* kShippedLogo = "qrix-logo.bmp";
inline constexpr const char* kInstalledDataDir = QRIX_DATA_DIR_FROM_BIN;
// The shipped logo of a program in `programDir`; empty when there is none.
std::string shippedLogo(const std::string& programDir);

// Builds the banner; start-up calls it once with mode 2, other modes draw nothing.
void ShowLogo(Program& p, int mode);
// Creates one more text label on the main panel (labels are never removed or reused).
void ShowInfoText(Program& p, ui::Rgb bgColor, ui::Rgb textColor, const std::string& text, int left,
                  int top, int pointSize);

}  // namespace qrix
