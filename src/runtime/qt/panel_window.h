#pragma once
// The widget of one panel: a top-level window, or a frame inside its parent panel. It holds
// the views of its controls and turns a window close into the panel callback's close event;
// the window itself never closes, the program decides whether to hide or quit.
//
// The layout is the panel table's, in layout units; a window shows it scaled as a whole, by one
// factor for every position, size and font, so that it fills the window at its aspect ratio.
// Below kMinScale text would be too small to read: the panel stays at that scale and scrolls.
// A window opens at the layout's size, or scaled down to the screen it opens on.

#include <QFrame>
#include <QPointer>
#include <map>
#include <optional>
#include <vector>

#include "runtime/qt/control_view.h"
#include "runtime/qt/event_router.h"

class QScreen;
class QScrollArea;

namespace qrix::qt {

class PanelWindow : public QFrame {
 public:
  static constexpr double kMinScale = 0.75;

  PanelWindow(EventRouter& router, int panel, QWidget* parent);

  // Screen pixels per layout unit; a child panel takes its window's.
  double scale() const { return scale_; }
  // Where the panel's controls and child panels lie: scrolled in a window, the frame itself in
  // a parent panel.
  QWidget* content() const { return content_; }

  int handle() const { return panel_; }
  ControlView* view(int control) const;
  const std::map<int, QPointer<ControlView>>& views() const { return views_; }

  // Title, position, size, visibility, focus, and views for controls that have none yet.
  void updatePanel();
  void updateControl(int control, ui::Aspect aspect);
  void updatePlots(int control, const ui::PlotChange& change);
  void flushPending();
  // The panel was discarded: hidden, cut off from the model, freed later by the view.
  void retire();
  bool retired() const { return retired_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape in a window goes to its panel's callback, which decides what it closes.
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildControls();
  void fitSize(const ui::Panel& p);
  // Tab order of the whole window: this panel's controls in reading order, then each child
  // panel's in turn, the child panels themselves in reading order.
  void appendFocusChain(std::vector<QWidget*>& chain) const;
  void orderFocus();
  // A place changed or controls came: the window's Tab order is made again where it differs.
  void placesChanged();
  const QScreen* screenAt(QPoint at) const;
  // What the window's frame takes around it, or what it will likely take before it is shown.
  QMargins frameAllowance() const;
  // `at` moved so that the window lies on its screen whole.
  QPoint onScreen(QPoint at) const;
  // The window's size for the layout on the screen it opens on.
  QSize windowSizeFor(QSize layout) const;
  // Scales the content to the room the window has.
  void fitContent();
  void setScale(double scale);
  // Places a child panel in its parent at the scale.
  void placeInParent();

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
  QScrollArea* scroll_ = nullptr;
  QWidget* content_ = this;
  double scale_ = 1;
};

// The scale of the panel that `w` lies on; 1 outside panels.
double panelScale(const QWidget* w);
// A rectangle in layout units on the screen: edges rounded alike, so that neighbours stay
// neighbours.
QRect toScreen(const QRect& layout, double scale);

}  // namespace qrix::qt
