#pragma once
// qrix-cli dfq FILE -o OUT.dfq [--part ID] [--characteristic NAME] [--nominal N] [--lower L]
// [--upper U] [--unit um|px] [--operator N] [--gauge N]: one column of a recorder file as a
// Q-DAS value file of one characteristic. Reads the file only: no port is opened.

#include <string_view>
#include <vector>

namespace qrix::cli {

// The arguments after "dfq"; writes OUT and returns the exit status.
int runDfqCommand(const std::vector<std::string_view>& args);

}  // namespace qrix::cli
