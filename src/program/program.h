#pragma once
// The program: its state and the runtime it runs on. Every procedure of the scope takes it.

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "program/panel_ids.h"
#include "program/program_state.h"
#include "program/run_stream.h"
#include "runtime/runtime.h"

namespace qrix {

// The statistics window's figures; only the statistics window knows what they hold.
struct StatisticsBook;

struct Program {
  explicit Program(Runtime& runtime) : rt(runtime) {}

  Runtime& rt;
  ProgramState st;
  // Shows the link health wherever the user sees it (the link indicator, its log window).
  std::function<void()> onLinkHealthChanged;
  // Where each RUN answer goes once it is decoded and derived.
  RunStream run;
  // Made by the statistics window's consumer of RUN values; none without it.
  std::shared_ptr<StatisticsBook> statistics;
  // Hears of every text the status line is given, with or without a window to show it in (the
  // command line writes them to stderr).
  std::function<void(std::string_view text)> onStatusShown;

  ui::UiModel& ui() { return rt.ui(); }
  // Whether the program runs with its window (the main panel is loaded), or as the command line
  // runs the services, with none.
  bool hasWindow() const { return st.pHandle > 0; }
  serial::SerialLibrary& serial() { return rt.serial(); }

  // Puts a text into the status line without touching szStatus.
  void showStatusText(std::string_view text);
  // szStatus = text (cut to the status buffer's length).
  void storeStatusText(std::string_view text);
  // Shows szStatus in the status line.
  void showStoredStatus() { showStatusText(st.szStatus); }
  // Shows or hides, dims or enables a list of main-panel controls.
  void setMainVisible(std::initializer_list<int> controls, bool visible);
  void setMainDimmed(std::initializer_list<int> controls, bool dimmed);
  // Shows a window of its own (the link log, the compare or export window) in front of the main
  // window, also when it is open already and lies behind it.
  void showWindow(int panel);
  // Close box of such a window: hides it and makes the main window the active one again.
  void hideWindow(int panel);
  // A file dialog that starts in the folder last used in this run (the documents folder at
  // first) and remembers the folder of the file chosen.
  FileSelection selectFile(const std::string& defaultName, const std::string& filter,
                           const std::string& title, FileDialogMode mode, FileDialogButton button);
  // A save dialog, and when the file chosen exists, the question whether to replace it: the path,
  // or nothing when the user drew back or the name was refused (`refusal` then says why). A name
  // with another extension than the filter's ("*.png") gets it added, so that the file is what it
  // says.
  std::optional<std::string> chooseFileToWrite(const std::string& defaultName,
                                               const std::string& filter, const std::string& title,
                                               std::string* refusal = nullptr);
  // Shows the outcome of a window's own action in its state line: black, red when it failed.
  void tell(int panel, int control, std::string_view text, bool failed);
  // Appends a line event to the link log, stamped with both clocks.
  void logLine(std::string text);
  // Counts one exchange in the link health, logs it when it failed, and shows the health on the
  // link indicator.
  void recordExchange(link::ExchangeKind kind, link::Outcome outcome);
  // Shows the link health after a change that was no exchange (a port opened or lost).
  void linkHealthChanged();
  // Pumps events once; the place where other callbacks and the receive notification run.
  void pump() { rt.ProcessSystemEvents(); }
};

}  // namespace qrix
