#include "support/this_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace qrix::testing {

int processId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

std::filesystem::path binaryDirectory() {
#ifdef _WIN32
  std::vector<wchar_t> path(MAX_PATH);
  DWORD n = 0;
  while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  return std::filesystem::path(std::wstring(path.data(), n)).parent_path();
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::string uniqueName(const std::string& prefix) {
  std::string name = prefix + "-" + std::to_string(processId());
  if (const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
    name.append("-").append(test->name());
  }
  std::replace(name.begin(), name.end(), '/', '-');  // a parameterised test's "Case/0"
  return name;
}

}  // namespace qrix::testing
