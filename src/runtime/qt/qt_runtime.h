#pragma once
// The runtime on Qt: real windows, a pump over Qt's event loop, Qt dialogs and Qt Serial Port.
// Construct it after the QApplication.

#include <QTimer>
#include <memory>

#include "runtime/qt/event_loop_runtime.h"
#include "runtime/qt/qt_view.h"

namespace qrix {

class QtRuntime : public qt::EventLoopRuntime {
 public:
  explicit QtRuntime(ui::UiModel::PanelSource panels);
  ~QtRuntime() override;

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
  // Frees the widgets the view discarded during the wait.
  void afterEvents() override;
  QWidget* dialogParent() const;

  std::unique_ptr<qt::QtView> view_;
  QTimer deviceWatch_;
};

}  // namespace qrix
