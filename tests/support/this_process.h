#pragma once
// The running test program as the tests need to know it, on Linux and on Windows alike: its
// process id (for file names of its own) and the folder its binary lies in (where the build puts
// the files a program ships with).

#include <filesystem>
#include <string>

namespace qrix::testing {

int processId();
std::filesystem::path binaryDirectory();
// A file name unique to this process and test: "<prefix>-<pid>-<test name>".
std::string uniqueName(const std::string& prefix);

}  // namespace qrix::testing
