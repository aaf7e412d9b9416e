#pragma once
// Command buttons, toggle buttons and radio buttons.

#include "runtime/qt/control_view.h"

class QAbstractButton;

namespace qrix::qt {

// Press: left-click; release over the button: commit.
class CommandButtonView : public ControlView {
 public:
  CommandButtonView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control&) override {}
  void applyAttributes(const ui::Control& c) override;

 private:
  QAbstractButton* button_;
};

// A checkable button (toggle) or a radio button; the value is 1 when checked. Radio buttons
// are not exclusive among themselves: the program switches the others off.
class CheckButtonView : public ControlView {
 public:
  CheckButtonView(EventRouter& router, int panel, int control, QWidget* panelWidget, bool radio);

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override;

 private:
  void userToggled(bool checked);

  QAbstractButton* button_;
  bool radio_;
};

}  // namespace qrix::qt
