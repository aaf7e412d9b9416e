#include "runtime/qt/qt_view.h"

#include <qcustomplot.h>

#include <QCoreApplication>

#include "runtime/qt/panel_window.h"
#include "runtime/qt/plot_control_view.h"
#include "runtime/qt/ring_view.h"

namespace qrix::qt {

QtView::QtView(ui::UiModel& model) : model_(model), router_(model) {
  installRingAccessibility();
}

QtView::~QtView() {
  for (auto& [handle, w] : windows_) {
    if (w) {
      w->retire();
    }
  }
  windows_.clear();
  topLevel_.clear();
  freeDiscarded();
}

PanelWindow* QtView::window(int panel) const {
  auto it = windows_.find(panel);
  return it == windows_.end() ? nullptr : it->second.data();
}

void QtView::panelLoaded(int panel) {
  const ui::Panel* p = model_.panel(panel);
  if (!p) {
    return;
  }
  if (p->parent == 0) {
    auto w = std::make_unique<PanelWindow>(router_, panel, nullptr);
    windows_[panel] = w.get();
    topLevel_[panel] = std::move(w);
  } else {
    PanelWindow* parent = window(p->parent);
    if (!parent) {
      return;
    }
    windows_[panel] = new PanelWindow(router_, panel, parent->content());
  }
  windows_[panel]->updatePanel();
}

void QtView::panelDiscarded(int panel) {
  PanelWindow* w = window(panel);
  windows_.erase(panel);
  if (shownActivePanel_ == panel) {
    shownActivePanel_ = 0;
  }
  if (!w) {
    return;
  }
  w->retire();
  // A callback of this very panel may be running: free it once the pump is back at the top.
  if (auto it = topLevel_.find(panel); it != topLevel_.end()) {
    it->second.release()->deleteLater();
    topLevel_.erase(it);
  } else {
    w->deleteLater();
  }
}

void QtView::changed(int panel, int control, ui::Aspect aspect) {
  PanelWindow* w = window(panel);
  if (!w) {
    return;
  }
  if (control == 0) {
    w->updatePanel();
    showActivePanel();
  } else {
    w->updateControl(control, aspect);
  }
}

void QtView::plotsChanged(int panel, int control, const ui::PlotChange& change) {
  if (PanelWindow* w = window(panel)) {
    w->updatePlots(control, change);
  }
}

void QtView::showActivePanel() {
  const int active = model_.activePanel();
  if (active == shownActivePanel_) {
    return;
  }
  shownActivePanel_ = active;
  PanelWindow* w = window(active);
  if (!w) {
    return;
  }
  w->raise();
  if (w->isWindow() && w->isVisible()) {
    w->activateWindow();
  }
}

QWidget* QtView::panelWidget(int panel) const {
  return window(panel);
}

QWidget* QtView::controlWidget(int panel, int control) const {
  PanelWindow* w = window(panel);
  ControlView* v = w ? w->view(control) : nullptr;
  return v ? v->widget() : nullptr;
}

QCustomPlot* QtView::plotWidget(int panel, int control) const {
  PanelWindow* w = window(panel);
  auto* v = w ? dynamic_cast<PlotControlView*>(w->view(control)) : nullptr;
  return v ? v->plot() : nullptr;
}

void QtView::flushPending() {
  for (auto& [handle, w] : windows_) {
    if (w) {
      w->flushPending();
    }
  }
}

QImage QtView::grab(int panel) {
  PanelWindow* w = window(panel);
  if (!w) {
    return {};
  }
  flushPending();
  return w->grab().toImage();
}

void QtView::freeDiscarded() {
  if (router_.depth() == 0) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace qrix::qt
