#pragma once
// A fresh scope for one fuzz input: the headless runtime with its virtual clock, the panels
// loaded and the defaults set as start-up sets them, but no port opened yet.

#include <vector>

#include "program/program.h"
#include "runtime/headless/headless_runtime.h"

namespace qrix::fuzz {

struct OfflineProgram {
  OfflineProgram();
  OfflineProgram(const OfflineProgram&) = delete;
  OfflineProgram& operator=(const OfflineProgram&) = delete;

  // The value of every control of every panel, in a fixed order.
  std::vector<double> controlValues();

  HeadlessRuntime rt;
  Program p;
};

}  // namespace qrix::fuzz
