#pragma once
// The one way user input reaches the program: writes into the model and events to callbacks.
// It counts how deeply callbacks are nested, because a panel discarded by a running callback
// may be freed only once every callback has returned.

#include <string_view>

#include "runtime/ui_model.h"

namespace qrix::qt {

class EventRouter {
 public:
  explicit EventRouter(ui::UiModel& model) : model_(model) {}
  EventRouter(const EventRouter&) = delete;
  EventRouter& operator=(const EventRouter&) = delete;

  ui::UiModel& model() { return model_; }
  const ui::Control* control(int panel, int control) const {
    return model_.control(panel, control);
  }
  bool panelAlive(int panel) const { return model_.panel(panel) != nullptr; }

  // Calls the callback bound to the control (control 0: the panel's); may run a nested pump.
  int send(int panel, int control, int event, int data1 = 0, int data2 = 0);
  // Callbacks running right now, nested ones counted.
  int depth() const { return depth_; }

 private:
  ui::UiModel& model_;
  int depth_ = 0;
};

}  // namespace qrix::qt
