#pragma once
// The scope's main window in real widgets, started as a user starts it: the window alone (no
// serial line), or identified against the simulated pair in this process.

#include <gtest/gtest.h>

#include <memory>

#include "program/program.h"
#include "qrix/sim/sensor_pair.hpp"
#include "runtime/qt/qt_runtime.h"

namespace qrix::test {

class ScopeWindowTest : public ::testing::Test {
 protected:
  enum class Line { None, SimulatedPair };
  explicit ScopeWindowTest(Line line = Line::None);
  ~ScopeWindowTest() override;

  QtRuntime runtime;
  std::shared_ptr<sim::SensorPair> sensor = std::make_shared<sim::SensorPair>();
  Program program;
  ProgramState& st = program.st;
};

}  // namespace qrix::test
