#pragma once
// The Qt view of the ui model: a window per panel, a widget per control, kept in step with
// every model change. A panel carries its model name as accessible name ("pPara1"); a control
// the words shown on or beside it, with its model name as object name and in brackets at the
// end of its description ("Light power", "500 [SLIDEpower]"), so a test robot finds it.

#include <QImage>
#include <QPointer>
#include <map>
#include <memory>

#include "runtime/qt/event_router.h"
#include "runtime/ui_model.h"

class QCustomPlot;
class QWidget;

namespace qrix::qt {

class PanelWindow;

class QtView : public ui::UiObserver {
 public:
  explicit QtView(ui::UiModel& model);
  ~QtView() override;
  QtView(const QtView&) = delete;
  QtView& operator=(const QtView&) = delete;

  void panelLoaded(int panel) override;
  void panelDiscarded(int panel) override;
  void changed(int panel, int control, ui::Aspect aspect) override;
  void plotsChanged(int panel, int control, const ui::PlotChange& change) override;

  // Null when there is no such panel or control.
  QWidget* panelWidget(int panel) const;
  QWidget* controlWidget(int panel, int control) const;
  // The plot of a graph or strip chart; null for other kinds.
  QCustomPlot* plotWidget(int panel, int control) const;

  // Renders a panel with its controls and child panels, plots brought up to date first.
  QImage grab(int panel);
  // Redraws every graph and strip chart with pending changes now, not at the next pump.
  void flushPending();

  // User-event callbacks running right now; discarded panels are freed only at 0.
  int callbackDepth() const { return router_.depth(); }
  // Frees discarded panels when no callback runs (one of them may still be on the stack).
  void freeDiscarded();

 private:
  PanelWindow* window(int panel) const;
  void showActivePanel();

  ui::UiModel& model_;
  EventRouter router_;
  std::map<int, std::unique_ptr<PanelWindow>> topLevel_;  // child panels belong to a parent
  std::map<int, QPointer<PanelWindow>> windows_;          // every live panel
  int shownActivePanel_ = 0;
};

}  // namespace qrix::qt
