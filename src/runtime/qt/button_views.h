#pragma once
// Command buttons, toggle buttons and radio buttons. The left-click event stands for the mouse
// button going down on the control; Space, Enter and a screen reader's press or toggle switch
// the button without one, as the keyboard always has.

#include "runtime/qt/control_view.h"

class QAbstractButton;

namespace qrix::qt {

// Left mouse press: left-click; release over the button, Space or a press action: commit.
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
// are not exclusive among themselves: the program switches the others off. Every switch of
// the widget that the model did not make (mouse, keyboard, a screen reader's toggle) is
// written into the model with its events, or undone when the control takes no input.
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
