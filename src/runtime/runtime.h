#pragma once
// The runtime the program runs on: the ui model, the event pump, the clock, dialogs, the
// clipboard and the serial library. Two backends implement it: Qt (real windows) and headless
// (virtual clock).

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

#include "runtime/serial_library.h"
#include "runtime/ui_model.h"

namespace qrix {

enum class FileDialogMode { Load, Save };
// The label of the button that accepts the choice.
enum class FileDialogButton { Ok, Save, Load };
inline const char* labelOf(FileDialogButton button) {
  switch (button) {
    case FileDialogButton::Ok: return "OK";
    case FileDialogButton::Save: return "Save";
    case FileDialogButton::Load: return "Load";
  }
  return "OK";
}

// The file format of a picture of a graph or a window.
enum class ImageFormat { Png, Svg };

// What an exported picture of a graph says beyond what the window shows, so that it stands
// alone: a title above it, and for a strip chart the numbers along its x axis (under `xLabel`,
// counted so that the newest sample is 0) and a legend of its visible traces, by trace.
struct ImageNotes {
  std::string title;
  std::string xLabel;               // empty: no x numbers
  std::vector<std::string> legend;  // empty: no legend
};

// Result of a file selection: 0 cancelled, 1 an existing file, 2 a new file name.
struct FileSelection {
  int status = 0;
  std::string path;
};
inline constexpr int VAL_NO_FILE_SELECTED = 0;
inline constexpr int VAL_EXISTING_FILE_SELECTED = 1;
inline constexpr int VAL_NEW_FILE_SELECTED = 2;

// A wait in seconds as whole milliseconds for an event loop's timer: not below 0, and no longer
// than a second, so that a loop never sleeps through its own time-out.
inline int heartbeatMs(double seconds) {
  if (!(seconds > 0)) {
    return 0;
  }
  return static_cast<int>(std::lround(std::min(seconds, 1.0) * 1000.0));
}

class Runtime {
 public:
  explicit Runtime(ui::UiModel::PanelSource panels) : ui_(std::move(panels)) {}
  virtual ~Runtime() = default;
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  ui::UiModel& ui() { return ui_; }
  ui::CallbackRegistry& callbacks() { return ui_.callbacks(); }
  serial::SerialLibrary& serial() { return serial_; }

  // Runs pending user-interface events, serial notifications and timers, then returns.
  // Never spins: it waits for the next event, but no longer than a few milliseconds.
  virtual void ProcessSystemEvents() = 0;
  // As ProcessSystemEvents, but waits up to `seconds` for the next event: for a loop that knows
  // nothing is due before an event comes (a byte of an answer, a click) or that time is up.
  virtual void WaitForEvents(double seconds) {
    (void)seconds;
    ProcessSystemEvents();
  }
  // Pumps events until QuitUserInterface is called; returns its code.
  virtual int RunUserInterface() = 0;
  virtual void QuitUserInterface(int code) = 0;
  virtual bool quitRequested() const = 0;

  // Seconds since an arbitrary start, at least millisecond resolution.
  virtual double Timer() = 0;
  // Waits without pumping events.
  virtual void Delay(double seconds) = 0;
  // The calendar time, for the date and time texts.
  virtual std::time_t CalendarTime() { return std::time(nullptr); }

  // 1 yes, 0 no.
  virtual int ConfirmPopup(const std::string& title, const std::string& message) = 0;
  virtual FileSelection FileSelectPopup(const std::string& directory,
                                        const std::string& defaultName, const std::string& filter,
                                        const std::string& title, FileDialogMode mode,
                                        FileDialogButton button) = 0;

  // Puts a text on the system clipboard; false when the clipboard did not take it.
  virtual bool ClipboardPutText(const std::string& text) = 0;

  // Draws a graph or strip chart (`control`), or a window with its child panels (control 0), into
  // an image file; a window only as PNG. An existing file is replaced only by a whole image.
  // Empty when written, otherwise the reason it was not. Only a runtime with windows draws.
  virtual std::string SaveImage(int panel, int control, ImageFormat format, const std::string& path,
                                const ImageNotes& notes = {}) {
    (void)panel, (void)control, (void)format, (void)path, (void)notes;
    return "no window to draw from";
  }

  // The directory that holds the program.
  virtual std::string programDirectory() const = 0;
  // Where the file dialogs start before the user chose a folder in this run: the user's
  // documents folder where the system has one (an installed program's own folder is seldom
  // writable), else the program's folder.
  virtual std::string documentsDirectory() const { return programDirectory(); }

 protected:
  ui::UiModel ui_;
  serial::SerialLibrary serial_;
};

}  // namespace qrix
