#pragma once
// Number fields (spin boxes; indicators when read-only) and sliders.

#include "runtime/qt/control_view.h"
#include "runtime/qt/deferred_update.h"

class QAbstractSpinBox;
class QLabel;
class QSlider;

namespace qrix::qt {

// Each edit: the value into the model and value-changed; Enter, leaving the field after an
// edit, an arrow step or a value set from outside (accessibility): commit.
// An indicator fed with every answer of the line shows a new value at once and then at most
// every kIndicatorMs while new ones keep coming: digits that change faster flicker rather than
// read (a meter shows a few readings a second), and laying out their text is most of what a
// number costs on screen. A waiting value goes with any repaint of
// the window in the last kJoinRepaintMs before it is due (one answer time of the line, so RUN's
// graphs take it along). The last value always shows.
class NumericView : public ControlView {
 public:
  static constexpr int kIndicatorMs = 200;
  static constexpr int kJoinRepaintMs = 40;

  NumericView(EventRouter& router, int panel, int control, QWidget* panelWidget, int precision);

  void flushPending() override;

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override;

 private:
  // The model's value in the field now.
  void showValue(const ui::Control& c);
  void userChanged(double value);
  void editingFinished();
  bool stepping() const;
  bool typing() const;

  QAbstractSpinBox* spin_;
  int decimals_;
  bool dirty_ = false;  // edited since the last commit
  RateLimitedUpdate* indicator_;
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
