#include "shell/link_log_window.h"

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>

#include "program/program.h"
#include "runtime/files.h"
#include "runtime/output_file.h"

namespace qrix {

namespace {

namespace l = ids::linklog;

// Whether the box shows the log already: as many lines as events, the same oldest and newest
// (a repeated failure's count is on the newest line, so a new count refreshes the box).
// The exchanges call for a refresh up to 30 times a second; this spares formatting all 500
// events each time. A different log alike in length and at both ends would need an event
// repeated within one millisecond at each end.
bool shows(std::string_view shown, const std::deque<link::LineEvent>& events) {
  const auto lines = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), '\n'));
  if (lines != events.size()) {
    return false;
  }
  if (events.empty()) {
    return shown.empty();
  }
  return shown.starts_with(link::formatEvent(events.front()) + '\n') &&
         shown.ends_with(link::formatEvent(events.back()) + '\n');
}

std::string events(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " event" : " events");
}

void tell(Program& p, const std::string& text, bool failed) {
  p.tell(p.st.pLinkLog, l::TEXTLogState, text, failed);
}

}  // namespace

void openLinkLog(Program& p) {
  p.showWindow(p.st.pLinkLog);
}

void refreshLinkLog(Program& p) {
  ui::UiModel& ui = p.ui();
  const ui::Panel* window = ui.panel(p.st.pLinkLog);
  if (!window || !window->visible) {
    return;
  }
  const ui::Control* box = ui.control(p.st.pLinkLog, l::TEXTLinkLog);
  if (!box || shows(box->text, p.st.health.events())) {
    return;
  }
  ui.ResetTextBox(p.st.pLinkLog, l::TEXTLinkLog, p.st.health.logText());
}

int CC_LINKLOG(Program& p, int, int event) {
  if (event != ui::EVENT_CLOSE) {
    return 0;
  }
  p.hideWindow(p.st.pLinkLog);
  return 0;
}

int CC_BTNCopyLog(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  const std::size_t count = p.st.health.events().size();
  if (p.rt.ClipboardPutText(p.st.health.logText())) {
    tell(p, "Copied " + events(count) + " to the clipboard.", false);
  } else {
    tell(p, "Not copied: the clipboard did not take the text.", true);
  }
  return 0;
}

int CC_BTNSaveLog(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  if (loopHoldsLine(p)) {
    tell(p, "Not saved: stop RUN, VIDEO, DATA or the recording first.", true);
    return 0;
  }
  std::string refusal;
  const std::optional<std::string> path =
      p.chooseFileToWrite("LINKLOG.TXT", "*.txt", "Link log", &refusal);
  if (!path) {
    if (!refusal.empty()) {
      tell(p, "Not saved: " + refusal + ".", true);
    }
    return 0;
  }
  // The text as it is now: events that arrive later are not in the file.
  const std::string text = p.st.health.logText();
  const std::size_t count = p.st.health.events().size();
  if (files::writeFileAtomically(*path, text)) {
    tell(p, "Saved " + events(count) + " to " + *path, false);
  } else {
    tell(p, "Not saved: cannot write " + *path, true);
  }
  return 0;
}

}  // namespace qrix
