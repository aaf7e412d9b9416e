#include "runtime/qt/panel_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "runtime/qt/button_views.h"
#include "runtime/qt/focus_order.h"
#include "runtime/qt/graph_view.h"
#include "runtime/qt/led_view.h"
#include "runtime/qt/number_views.h"
#include "runtime/qt/ring_view.h"
#include "runtime/qt/strip_chart_view.h"
#include "runtime/qt/text_views.h"

namespace qrix::qt {

namespace {

constexpr int kFitMargin = 8;

ControlView* makeView(EventRouter& router, int panel, const ui::Control& c, QWidget* parent) {
  using ui::ControlKind;
  switch (c.kind) {
    case ControlKind::CommandButton: return new CommandButtonView(router, panel, c.id, parent);
    case ControlKind::ToggleButton: return new CheckButtonView(router, panel, c.id, parent, false);
    case ControlKind::RadioButton: return new CheckButtonView(router, panel, c.id, parent, true);
    case ControlKind::Numeric: return new NumericView(router, panel, c.id, parent, c.precision);
    case ControlKind::Slider: return new SliderView(router, panel, c.id, parent);
    case ControlKind::Ring: return new RingView(router, panel, c.id, parent);
    case ControlKind::TextMessage: return new TextMessageView(router, panel, c.id, parent);
    case ControlKind::TextBox: return new TextBoxView(router, panel, c.id, parent);
    case ControlKind::Graph: return new GraphView(router, panel, c.id, parent);
    case ControlKind::StripChart: return new StripChartView(router, panel, c.id, parent);
    case ControlKind::Decoration: return new DecorationView(router, panel, c.id, parent);
    case ControlKind::Picture: return new PictureView(router, panel, c.id, parent);
    case ControlKind::Led: return new LedView(router, panel, c.id, parent);
  }
  return nullptr;
}

}  // namespace

PanelWindow::PanelWindow(EventRouter& router, int panel, QWidget* parent)
    : QFrame(parent), router_(&router), panel_(panel) {
  const ui::Panel* p = router.model().panel(panel);
  const QString name = p ? QString::fromStdString(p->name) : QString();
  setObjectName(name);
  setAccessibleName(name);
  if (parent) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
  }
  buildControls();
  if (p) fitSize(*p);
}

ControlView* PanelWindow::view(int control) const {
  auto it = views_.find(control);
  return it == views_.end() ? nullptr : it->second.data();
}

void PanelWindow::buildControls() {
  const ui::Panel* p = router_->model().panel(panel_);
  if (!p) return;
  bool added = false;
  for (const auto& [id, c] : p->controls) {
    if (views_.count(id)) continue;
    // Views are Qt children of this window; it frees them.
    ControlView* v = makeView(*router_, panel_, c, this);
    if (!v) continue;
    views_[id] = v;
    v->refreshAll();
    added = true;
  }
  if (added) placesChanged();
}

void PanelWindow::appendFocusChain(std::vector<QWidget*>& chain) const {
  std::vector<QWidget*> widgets;
  std::vector<QRect> places;
  for (const auto& [id, v] : views_) {
    QWidget* w = v ? v->widget() : nullptr;
    if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
    widgets.push_back(w);
    places.push_back(v->modelRect());
  }
  for (std::size_t i : readingOrder(places)) chain.push_back(widgets[i]);

  std::vector<const PanelWindow*> children;
  places.clear();
  for (const QFrame* frame : findChildren<QFrame*>(Qt::FindDirectChildrenOnly)) {
    // A decoration is a frame too.
    const auto* child = dynamic_cast<const PanelWindow*>(frame);
    const ui::Panel* p =
        child && !child->retired_ ? router_->model().panel(child->panel_) : nullptr;
    if (!p) continue;
    children.push_back(child);
    places.push_back(QRect(QPoint(p->bounds.left, p->bounds.top), child->size()));
  }
  for (std::size_t i : readingOrder(places)) children[i]->appendFocusChain(chain);
}

void PanelWindow::orderFocus() {
  std::vector<QWidget*> chain;
  appendFocusChain(chain);
  if (chain == focusChain_) return;
  focusChain_ = chain;
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void PanelWindow::placesChanged() {
  if (auto* top = dynamic_cast<PanelWindow*>(window())) top->orderFocus();
}

void PanelWindow::fitSize(const ui::Panel& p) {
  QSize size(p.bounds.width, p.bounds.height);
  if (size.width() <= 0 || size.height() <= 0) {
    QRect used = childrenRect();
    if (size.width() <= 0) size.setWidth(std::max(1, used.right() + 1 + kFitMargin));
    if (size.height() <= 0) size.setHeight(std::max(1, used.bottom() + 1 + kFitMargin));
  }
  if (sizedTo_ == size) return;
  sizedTo_ = size;
  resize(size);
}

void PanelWindow::updatePanel() {
  if (retired_) return;
  const ui::Panel* p = router_->model().panel(panel_);
  if (!p) return;
  buildControls();
  setWindowTitle(QString::fromStdString(p->title));
  const QPoint at(p->bounds.left, p->bounds.top);
  if (placedAt_ != at) {
    placedAt_ = at;
    move(at);
    if (!isWindow()) placesChanged();
  }
  fitSize(*p);
  setVisible(p->visible);
  if (p->activeControl != focusedControl_) {
    focusedControl_ = p->activeControl;
    if (ControlView* v = view(focusedControl_); v && v->widget()) v->widget()->setFocus();
  }
}

void PanelWindow::updateControl(int control, ui::Aspect aspect) {
  if (retired_) return;
  ControlView* v = view(control);
  if (!v) return;
  const QRect before = aspect == ui::Aspect::Attributes ? v->modelRect() : QRect();
  v->update(aspect);
  if (aspect == ui::Aspect::Attributes && v->modelRect() != before) placesChanged();
}

void PanelWindow::flushPending() {
  for (auto& [id, v] : views_)
    if (v) v->flushPending();
}

void PanelWindow::retire() {
  retired_ = true;
  hide();
  for (auto& [id, v] : views_)
    if (v) v->detach();
}

void PanelWindow::closeEvent(QCloseEvent* event) {
  // The window stays; the panel callback decides whether to hide it or to quit.
  event->ignore();
  if (!retired_) router_->send(panel_, 0, ui::EVENT_CLOSE);
}

void PanelWindow::keyPressEvent(QKeyEvent* event) {
  // Only keys no control took arrive here; a child panel passes them on to its window.
  if (event->key() == Qt::Key_Escape && isWindow() && !retired_) {
    router_->send(panel_, 0, ui::EVENT_KEYPRESS, ui::kKeyEscape);
    return;
  }
  QFrame::keyPressEvent(event);
}

}  // namespace qrix::qt
