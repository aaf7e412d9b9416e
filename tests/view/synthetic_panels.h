#pragma once
// A small panel set for the view tests: a top-level panel with one control of every kind and
// two child panels that both hold a control named SLIDEpower. Every callback is recorded.

#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "runtime/qt/qt_runtime.h"

namespace qrix::test {

inline constexpr int kMainResource = 1;
inline constexpr int kPara1Resource = 2;
inline constexpr int kPara2Resource = 3;

ui::UiModel::PanelSource syntheticPanels();

struct Recorded {
  std::string panel;
  std::string name;  // control name, or the panel's name for control 0
  int event;
};

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
  int para1 = 0;
  int para2 = 0;
  std::vector<Recorded> events;
};

}  // namespace qrix::test
