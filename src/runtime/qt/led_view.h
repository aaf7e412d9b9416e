#pragma once
// An LED: a round light in the model's colour that the user can press. It takes the focus and
// is pressed as a command button is: the left mouse button going down is a left-click; the
// release over it, Space, Enter or a screen reader's press is a commit.

#include "runtime/qt/control_view.h"

namespace qrix::qt {

class LedLight;

class LedView : public ControlView {
 public:
  LedView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control&) override {}
  void applyAttributes(const ui::Control& c) override;
  void applyTooltip(const ui::Control& c) override;

 private:
  LedLight* light_;
};

}  // namespace qrix::qt
