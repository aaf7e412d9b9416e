#pragma once
// The widget of one panel: a top-level window, or a frame inside its parent panel. It holds
// the views of its controls and turns a window close into the panel callback's close event;
// the window itself never closes, the program decides whether to hide or quit.

#include <QFrame>
#include <QPointer>
#include <map>
#include <optional>
#include <vector>

#include "runtime/qt/control_view.h"
#include "runtime/qt/event_router.h"

namespace qrix::qt {

class PanelWindow : public QFrame {
 public:
  PanelWindow(EventRouter& router, int panel, QWidget* parent);

  int handle() const { return panel_; }
  ControlView* view(int control) const;
  const std::map<int, QPointer<ControlView>>& views() const { return views_; }

  // Title, position, size, visibility, focus, and views for controls that have none yet.
  void updatePanel();
  void updateControl(int control, ui::Aspect aspect);
  void flushPending();
  // The panel was discarded: hidden, cut off from the model, freed later by the view.
  void retire();
  bool retired() const { return retired_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape in a window goes to its panel's callback, which decides what it closes.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildControls();
  void fitSize(const ui::Panel& p);
  // Tab order of the whole window: this panel's controls in reading order, then each child
  // panel's in turn, the child panels themselves in reading order.
  void appendFocusChain(std::vector<QWidget*>& chain) const;
  void orderFocus();
  // A place changed or controls came: the window's Tab order is made again where it differs.
  void placesChanged();

  EventRouter* router_;
  int panel_;
  std::map<int, QPointer<ControlView>> views_;
  int focusedControl_ = 0;
  // Where the model last put the window: a window the user moved stays where it is until
  // the program moves it.
  std::optional<QPoint> placedAt_;
  std::optional<QSize> sizedTo_;
  bool retired_ = false;
  std::vector<QWidget*> focusChain_;  // as last set; only compared, never followed
};

}  // namespace qrix::qt
