#pragma once
// Number fields (spin boxes; indicators when read-only) and sliders.

#include "runtime/qt/control_view.h"

class QAbstractSpinBox;
class QLabel;
class QSlider;

namespace qrix::qt {

// Each edit: the value into the model and value-changed; Enter, leaving the field after an
// edit, an arrow step or a value set from outside (accessibility): commit.
class NumericView : public ControlView {
 public:
  NumericView(EventRouter& router, int panel, int control, QWidget* panelWidget, int precision);

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override;

 private:
  void userChanged(double value);
  void editingFinished();
  bool stepping() const;
  bool typing() const;

  QAbstractSpinBox* spin_;
  int decimals_;
  bool dirty_ = false;  // edited since the last commit
};

// Value-changed while the handle moves; commit on release, or at once for a keyboard, wheel
// or page step. Fractional values are scaled by 10^precision onto the integer slider.
class SliderView : public ControlView {
 public:
  SliderView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override;
  void layoutExtras(const QRect& body, bool visible) override;

 private:
  void userMoved(int position);
  void showReadout(double value);

  QSlider* slider_;
  QLabel* readout_;
  double scale_ = 1;
  int precision_ = 0;
  QString unit_;
};

}  // namespace qrix::qt
