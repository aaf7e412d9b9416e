#include "params/param_file.h"

#include <cstdio>
#include <vector>

#include "runtime/files.h"

namespace qrix {

std::string formatParaFile(const ParaFileWords& words) {
  std::string text;
  char line[24];
  for (std::uint16_t w : words) {
    std::snprintf(line, sizeof line, "%10u\r\n", static_cast<unsigned>(w));
    text += line;
  }
  return text;
}

std::optional<ParaFileWords> parseParaFile(const std::string& path) {
  std::optional<std::vector<std::int64_t>> values = files::readIntegers(path, kParaFileWords);
  if (!values) {
    return std::nullopt;
  }
  ParaFileWords words{};
  for (int i = 0; i < kParaFileWords; ++i) {
    const std::int64_t v = (*values)[static_cast<size_t>(i)];
    if (v < 0) {
      return std::nullopt;
    }
    words[static_cast<size_t>(i)] = static_cast<std::uint16_t>(v & 0xFFFF);
  }
  return words;
}

}  // namespace qrix
