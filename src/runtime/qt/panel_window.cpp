#include "runtime/qt/panel_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>
#include <algorithm>
#include <cmath>

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
// Before a window is first shown its frame is not known: room for a title bar and borders.
constexpr QMargins kFrameAllowance(8, 32, 8, 8);

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
    scale_ = panelScale(parent);
  } else {
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setAlignment(Qt::AlignCenter);
    // Not a stop of its own in the tab order: the controls are.
    scroll_->setFocusPolicy(Qt::NoFocus);
    content_ = new QWidget;
    content_->setObjectName(name + QStringLiteral("Content"));
    scroll_->setWidget(content_);
  }
  buildControls();
  if (p) {
    fitSize(*p);
  }
}

ControlView* PanelWindow::view(int control) const {
  auto it = views_.find(control);
  return it == views_.end() ? nullptr : it->second.data();
}

void PanelWindow::buildControls() {
  const ui::Panel* p = router_->model().panel(panel_);
  if (!p) {
    return;
  }
  bool added = false;
  for (const auto& [id, c] : p->controls) {
    if (views_.count(id)) {
      continue;
    }
    // Views are Qt children of this window; it frees them.
    ControlView* v = makeView(*router_, panel_, c, content_);
    if (!v) {
      continue;
    }
    views_[id] = v;
    v->refreshAll();
    added = true;
  }
  if (added) {
    placesChanged();
  }
}

void PanelWindow::appendFocusChain(std::vector<QWidget*>& chain) const {
  std::vector<QWidget*> widgets;
  std::vector<QRect> places;
  for (const auto& [id, v] : views_) {
    QWidget* w = v ? v->widget() : nullptr;
    if (!w || !(w->focusPolicy() & Qt::TabFocus)) {
      continue;
    }
    widgets.push_back(w);
    places.push_back(v->modelRect());
  }
  for (std::size_t i : readingOrder(places)) {
    chain.push_back(widgets[i]);
  }

  std::vector<const PanelWindow*> children;
  places.clear();
  for (const QFrame* frame : content_->findChildren<QFrame*>(Qt::FindDirectChildrenOnly)) {
    // A decoration is a frame too.
    const auto* child = dynamic_cast<const PanelWindow*>(frame);
    const ui::Panel* p =
        child && !child->retired_ ? router_->model().panel(child->panel_) : nullptr;
    if (!p) {
      continue;
    }
    children.push_back(child);
    places.push_back(QRect(QPoint(p->bounds.left, p->bounds.top), child->size()));
  }
  for (std::size_t i : readingOrder(places)) {
    children[i]->appendFocusChain(chain);
  }
}

void PanelWindow::orderFocus() {
  std::vector<QWidget*> chain;
  appendFocusChain(chain);
  if (chain == focusChain_) {
    return;
  }
  focusChain_ = chain;
  for (std::size_t i = 1; i < chain.size(); ++i) {
    setTabOrder(chain[i - 1], chain[i]);
  }
}

void PanelWindow::placesChanged() {
  if (auto* top = dynamic_cast<PanelWindow*>(window())) {
    top->orderFocus();
  }
}

void PanelWindow::fitSize(const ui::Panel& p) {
  QSize size(p.bounds.width, p.bounds.height);
  if (size.width() <= 0 || size.height() <= 0) {
    // Children lie on the screen at the scale, the fit is in layout units.
    const QRect used = content_->childrenRect();
    const auto inLayout = [this](int v) { return static_cast<int>(std::ceil(v / scale_)); };
    if (size.width() <= 0) {
      size.setWidth(std::max(1, inLayout(used.right() + 1) + kFitMargin));
    }
    if (size.height() <= 0) {
      size.setHeight(std::max(1, inLayout(used.bottom() + 1) + kFitMargin));
    }
  }
  if (sizedTo_ == size) {
    return;
  }
  sizedTo_ = size;
  if (!scroll_) {
    placeInParent();
    return;
  }
  resize(windowSizeFor(size));
  // A hidden window gets its resize event only when shown.
  fitContent();
}

const QScreen* PanelWindow::screenAt(QPoint at) const {
  const QScreen* screen = QGuiApplication::screenAt(at);
  return screen ? screen : this->screen();
}

QMargins PanelWindow::frameAllowance() const {
  QMargins frame = kFrameAllowance;
  if (const QWindow* w = windowHandle()) {
    const QMargins known = w->frameMargins();
    frame =
        QMargins(std::max(frame.left(), known.left()), std::max(frame.top(), known.top()),
                 std::max(frame.right(), known.right()), std::max(frame.bottom(), known.bottom()));
  }
  return frame;
}

QPoint PanelWindow::onScreen(QPoint at) const {
  const QScreen* screen = screenAt(at);
  if (!screen) {
    return at;
  }
  // A window's position is its frame's.
  const QRect room = screen->availableGeometry();
  const QSize outer = size().grownBy(frameAllowance());
  return QPoint(
      std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())),
      std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
}

QSize PanelWindow::windowSizeFor(QSize layout) const {
  const QScreen* screen = screenAt(placedAt_.value_or(pos()));
  if (!screen) {
    return layout;
  }
  const QSize room = screen->availableGeometry().size().shrunkBy(frameAllowance());
  if (layout.width() <= room.width() && layout.height() <= room.height()) {
    return layout;
  }
  const double fit = std::min(static_cast<double>(room.width()) / layout.width(),
                              static_cast<double>(room.height()) / layout.height());
  const QSize scaled = toScreen(QRect(QPoint(), layout), std::max(fit, kMinScale)).size();
  return scaled.boundedTo(room);
}

void PanelWindow::fitContent() {
  scroll_->setGeometry(rect());
  if (!sizedTo_ || sizedTo_->isEmpty()) {
    return;
  }
  const double fit = std::min(static_cast<double>(width()) / sizedTo_->width(),
                              static_cast<double>(height()) / sizedTo_->height());
  setScale(std::max(fit, kMinScale));
  content_->resize(toScreen(QRect(QPoint(), *sizedTo_), scale_).size());
}

void PanelWindow::setScale(double scale) {
  if (scale == scale_ || retired_) {
    return;
  }
  scale_ = scale;
  if (scroll_) {
    // Controls without a font of their own take this one.
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0) {
      font.setPointSizeF(font.pointSizeF() * scale);
    } else {
      font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
    }
    content_->setFont(font);
  }
  for (auto& [id, v] : views_) {
    if (v) {
      v->update(ui::Aspect::Attributes);
    }
  }
  // No Q_OBJECT here: qobject_cast would take any frame for a panel.
  for (QObject* o : content_->children()) {
    if (auto* child = dynamic_cast<PanelWindow*>(o)) {
      child->setScale(scale);
      child->placeInParent();
    }
  }
}

void PanelWindow::placeInParent() {
  const QSize layout = sizedTo_.value_or(QSize(1, 1));
  setGeometry(toScreen(QRect(placedAt_.value_or(QPoint()), layout), scale_));
}

void PanelWindow::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (scroll_) {
    fitContent();
  }
}

void PanelWindow::updatePanel() {
  if (retired_) {
    return;
  }
  const ui::Panel* p = router_->model().panel(panel_);
  if (!p) {
    return;
  }
  buildControls();
  setWindowTitle(QString::fromStdString(p->title));
  const QPoint at(p->bounds.left, p->bounds.top);
  if (placedAt_ != at) {
    placedAt_ = at;
    // A window is sized for the screen it opens on first, then kept on it whole.
    if (scroll_) {
      fitSize(*p);
      move(onScreen(at));
    } else {
      placeInParent();
      placesChanged();
    }
  }
  fitSize(*p);
  setVisible(p->visible);
  if (p->activeControl != focusedControl_) {
    focusedControl_ = p->activeControl;
    if (ControlView* v = view(focusedControl_); v && v->widget()) {
      v->widget()->setFocus();
    }
  }
}

void PanelWindow::updateControl(int control, ui::Aspect aspect) {
  if (retired_) {
    return;
  }
  ControlView* v = view(control);
  if (!v) {
    return;
  }
  const QRect before = aspect == ui::Aspect::Attributes ? v->modelRect() : QRect();
  v->update(aspect);
  if (aspect == ui::Aspect::Attributes && v->modelRect() != before) {
    placesChanged();
  }
}

void PanelWindow::updatePlots(int control, const ui::PlotChange& change) {
  if (retired_) {
    return;
  }
  if (ControlView* v = view(control)) {
    v->updatePlots(change);
  }
}

void PanelWindow::flushPending() {
  for (auto& [id, v] : views_) {
    if (v) {
      v->flushPending();
    }
  }
}

void PanelWindow::retire() {
  retired_ = true;
  hide();
  for (auto& [id, v] : views_) {
    if (v) {
      v->detach();
    }
  }
}

void PanelWindow::closeEvent(QCloseEvent* event) {
  // The window stays; the panel callback decides whether to hide it or to quit.
  event->ignore();
  if (!retired_) {
    router_->send(panel_, 0, ui::EVENT_CLOSE);
  }
}

void PanelWindow::keyPressEvent(QKeyEvent* event) {
  // Only keys no control took arrive here; a child panel passes them on to its window.
  if (event->key() == Qt::Key_Escape && isWindow() && !retired_) {
    router_->send(panel_, 0, ui::EVENT_KEYPRESS, ui::kKeyEscape);
    return;
  }
  QFrame::keyPressEvent(event);
}

double panelScale(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    if (auto* panel = dynamic_cast<const PanelWindow*>(w)) {
      return panel->scale();
    }
  }
  return 1;
}

QRect toScreen(const QRect& layout, double scale) {
  const auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  const int left = at(layout.left()), top = at(layout.top());
  return QRect(left, top, at(layout.left() + layout.width()) - left,
               at(layout.top() + layout.height()) - top);
}

}  // namespace qrix::qt
