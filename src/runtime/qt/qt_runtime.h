#pragma once
// The runtime on Qt: real windows, a pump over Qt's event loop, Qt dialogs and Qt Serial Port.
// Construct it after the QApplication.

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "runtime/qt/qt_view.h"
#include "runtime/runtime.h"

namespace qrix {

class QtRuntime : public Runtime {
 public:
  // The pump waits for events at most this long, so a loop deciding a time-out by the clock
  // always gets to look at it again.
  static constexpr int kHeartbeatMs = 4;

  explicit QtRuntime(ui::UiModel::PanelSource panels);
  ~QtRuntime() override;

  void ProcessSystemEvents() override;
  void WaitForEvents(double seconds) override;
  int RunUserInterface() override;
  void QuitUserInterface(int code) override;
  bool quitRequested() const override { return quit_; }
  double Timer() override;
  void Delay(double seconds) override;
  int ConfirmPopup(const std::string& title, const std::string& message) override;
  FileSelection FileSelectPopup(const std::string& directory, const std::string& defaultName,
                                const std::string& filter, const std::string& title,
                                FileDialogMode mode, FileDialogButton button) override;
  std::string programDirectory() const override;
  std::string documentsDirectory() const override;
  bool ClipboardPutText(const std::string& text) override;
  std::string SaveImage(int panel, int control, ImageFormat format, const std::string& path,
                        const ImageNotes& notes = {}) override;

  qt::QtView& view() { return *view_; }
  // Enumerates the system's serial devices every two seconds, so the port list follows devices
  // as they are plugged in and pulled out.
  void followSerialDevices();

 private:
  QWidget* dialogParent() const;

  std::unique_ptr<qt::QtView> view_;
  QTimer heartbeat_;
  QTimer deviceWatch_;
  QElapsedTimer clock_;
  bool quit_ = false;
  int quitCode_ = 0;
};

}  // namespace qrix
