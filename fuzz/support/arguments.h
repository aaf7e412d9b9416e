#pragma once
// A command line from fuzz bytes: the arguments are the pieces between NUL bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qrix::fuzz {

inline std::vector<std::string_view> splitArguments(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string_view> args;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= text.size() && size > 0) {
    std::size_t end = text.find('\0', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    args.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

}  // namespace qrix::fuzz
