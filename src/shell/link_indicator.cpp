#include "shell/link_indicator.h"

#include <string>

#include "program/program.h"
#include "shell/link_log_window.h"

namespace qrix {

namespace {

using link::LinkHealth;
using link::LinkState;

ui::Rgb colourOf(LinkState state) {
  switch (state) {
    case LinkState::Unknown: return ui::kGrey;
    case LinkState::Good: return ui::kGreen;
    case LinkState::Degraded: return ui::kAmber;
    case LinkState::Failed: return ui::kRed;
  }
  return ui::kGrey;
}

// The colour in words first, for those who cannot tell amber from green.
const char* stateLine(const LinkHealth& health) {
  switch (health.state()) {
    case LinkState::Unknown: return "Link: not used yet";
    case LinkState::Good: return "Link: good";
    case LinkState::Degraded: return "Link: more than 1 % of the last 100 exchanges failed";
    case LinkState::Failed:
      if (health.notOpened()) {
        return "Link: the serial port did not open";
      }
      return health.lost() ? "Link: the serial port is lost" : "Link: the last exchange failed";
  }
  return "Link:";
}

std::string tooltipOf(const LinkHealth& health) {
  return std::string(stateLine(health)) + "\n" + health.summary() + "Click for the link log.";
}

}  // namespace

void showLinkHealth(Program& p) {
  ui::UiModel& ui = p.ui();
  const ui::Control* led = ui.control(p.st.pHandle, ids::main::LEDLink);
  // Exchanges also run in programs without panels (tests of the link alone).
  if (!led) {
    return;
  }
  const ui::Rgb colour = colourOf(p.st.health.state());
  std::string tooltip = tooltipOf(p.st.health);
  const bool newColour = led->ledColour != colour;
  const bool newTooltip = led->tooltip != tooltip;
  if (newColour) {
    ui.SetLedColour(p.st.pHandle, ids::main::LEDLink, colour);
  }
  if (newTooltip) {
    ui.SetTooltip(p.st.pHandle, ids::main::LEDLink, tooltip);
  }
  refreshLinkLog(p);
}

int CC_LEDLink(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  openLinkLog(p);
  showLinkHealth(p);
  return 0;
}

}  // namespace qrix
