#pragma once
// The three parameter frames of several sources (RAM, EEPROM, a parameter file) as text columns
// under the panels' field names and units: the master's and the slave's frames side by side,
// the system's below, each line marked `*` where the sources differ.

#include <string>
#include <vector>

#include "params/param_file.h"

namespace qrix {

struct CompareColumn {
  std::string title;  // "RAM", "EEPROM", "FILE"
  ParaFileWords words;
};

struct CompareTable {
  std::string text;                 // lines separated by '\n'
  std::vector<int> differingLines;  // the marked lines, counted from 0
};

CompareTable compareTable(const std::vector<CompareColumn>& columns);

}  // namespace qrix
