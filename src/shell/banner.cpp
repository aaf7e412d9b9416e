#include "shell/banner.h"

#include "program/program.h"
#include "runtime/files.h"

namespace qrix {

std::string shippedLogo(const std::string& programDir) {
  for (const std::string& folder :
       {programDir, files::MakePathname(programDir, kInstalledDataDir)}) {
    const std::string logo = files::MakePathname(folder, kShippedLogo);
    if (files::FileExists(logo)) {
      return logo;
    }
  }
  return {};
}

void ShowLogo(Program& p, int mode) {
  if (mode != 2) {
    return;
  }
  constexpr ui::Rgb kBannerBlue = 0x0080FF;
  ui::UiModel& ui = p.ui();
  ui.SetBackColour(p.st.pHandle, ids::main::DECOHeader, kBannerBlue);
  ui.SetCtrlPos(p.st.pHandle, ids::main::PICTLogo, 8, 300);
  // A "tv.bmp" in the working directory is the user's own picture; without one the banner
  // still shows the logo that comes with the program.
  std::string logo = files::MakePathname(".", "tv.bmp");
  if (!files::FileExists(logo)) {
    logo = shippedLogo(p.rt.programDirectory());
  }
  if (!logo.empty()) {
    ui.DisplayImageFile(p.st.pHandle, ids::main::PICTLogo, logo);
  }
  ShowInfoText(p, kBannerBlue, ui::kWhite, "Talvenor GmbH", 15, 9, 11);
  ShowInfoText(p, kBannerBlue, ui::kWhite, "Tel. +49 (0) 7000 4711-0", 15, 24, 11);
  ShowInfoText(p, kBannerBlue, ui::kWhite, "www.talvenor.example", 15, 39, 11);
  ShowInfoText(p, kBannerBlue, ui::kWhite, p.st.szSoftName, 300, 32, 18);
  ShowInfoText(p, kBannerBlue, ui::kWhite, p.st.szSoftVersion, 480, 38, 11);
}

void ShowInfoText(Program& p, ui::Rgb bgColor, ui::Rgb textColor, const std::string& text, int left,
                  int top, int pointSize) {
  p.ui().NewTextLabel(p.st.pHandle, top, left, text, "NIApp", textColor, bgColor, pointSize);
}

}  // namespace qrix
