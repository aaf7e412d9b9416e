#pragma once
// Rings: a drop-down list whose value is the selected item's value. A model value that matches
// no item is shown as an extra entry, so nothing is silently changed.

#include <QComboBox>

#include "runtime/qt/control_view.h"

namespace qrix::qt {

// The combo box of a ring; its accessible interface offers the item value as a number.
class RingCombo : public QComboBox {
  Q_OBJECT

 public:
  using QComboBox::QComboBox;
  // Selects an entry as a user would, with the same signals.
  void choose(int index);
  // The entry whose value equals `value`, or -1.
  int indexOfValue(double value) const;
};

// Lets accessibility clients read and set rings by item value; called once per view.
void installRingAccessibility();

class RingView : public ControlView {
 public:
  RingView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void applyValue(const ui::Control& c) override;
  void applyAttributes(const ui::Control& c) override { applyValue(c); }

 private:
  void userChose(int index);

  RingCombo* combo_;
};

}  // namespace qrix::qt
