#pragma once
// A small panel set for the view tests: a top-level panel with a control of every kind the
// tests drive, and one child panel. Every callback of the main panel is recorded.

#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "runtime/qt/qt_runtime.h"

namespace qrix::test {

class ViewTest : public ::testing::Test {
 protected:
  ViewTest();

  int id(const std::string& name) const;
  QWidget* widget(const std::string& name) const;
  template <class W>
  W* as(const std::string& name) const {
    W* w = qobject_cast<W*>(widget(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  double value(const std::string& name) const { return ui().GetCtrlVal(main, id(name)); }
  ui::UiModel& ui() const { return runtime.ui(); }
  // Events delivered to one control of the main panel (or the panel itself), in order.
  std::vector<int> eventsOf(const std::string& name) const;
  // Pumps for a while, as a program loop would.
  void pumpFor(int milliseconds);

  mutable QtRuntime runtime;
  int main = 0;
  int child = 0;
  std::vector<std::pair<std::string, int>> events;  // (control or panel name, event)
};

// Whether what the window shows of a widget is what a repaint of all of it draws now.
bool showsWhatItDraws(QWidget* w);

}  // namespace qrix::test
