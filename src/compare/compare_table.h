#pragma once
// The three parameter frames of several sources (RAM, EEPROM, a parameter file) side by side as
// text columns: the master's, the slave's and the system's fields under the panels' names and
// units, a line marked `*` where the sources differ.

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
