#include "params/param_file_check.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "linearisation/lin_file.h"
#include "params/param_file.h"
#include "params/parameter_fields.h"
#include "runtime/files.h"

namespace qrix {

namespace {

struct Number {
  std::int64_t value;
  int line;
};

// Every whitespace-separated token of the file as a number with its line, up to `most` + 1 of
// them; or the fault.
std::optional<std::vector<Number>> readNumbers(const std::string& path, std::size_t most,
                                               std::string& fault) {
  std::ifstream in(files::pathOf(path), std::ios::binary);
  if (!in) {
    fault = "cannot read " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::vector<Number> numbers;
  std::string line;
  for (int lineNumber = 1; std::getline(in, line) && numbers.size() <= most; ++lineNumber) {
    std::istringstream words(line);
    for (std::string token; words >> token && numbers.size() <= most;) {
      std::int64_t v = 0;
      const char* first = token.data() + (token[0] == '+' ? 1 : 0);
      const char* last = token.data() + token.size();
      const auto [end, ec] = std::from_chars(first, last, v);
      if (ec != std::errc() || end != last || first == last) {
        fault = path + " line " + std::to_string(lineNumber) + ": '" + token + "' is not a number";
        return std::nullopt;
      }
      numbers.push_back({v, lineNumber});
    }
  }
  if (numbers.size() != most) {
    fault = path + (numbers.size() > most ? " holds more than " : " holds fewer than ") +
            std::to_string(most) + " numbers";
    return std::nullopt;
  }
  return numbers;
}

std::string atLine(const std::string& path, int line) {
  return path + " line " + std::to_string(line) + ": ";
}

}  // namespace

std::string checkParaFileStrictly(const std::string& path, std::uint16_t pixels) {
  std::string fault;
  const std::optional<std::vector<Number>> numbers = readNumbers(path, kParaFileWords, fault);
  if (!numbers) {
    return fault;
  }
  ParaFileWords words{};
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Number& n = (*numbers)[i];
    if (n.value < 0 || n.value > 0xFFFF) {
      return atLine(path, n.line) + std::to_string(n.value) + " is not a word (0 to 65535)";
    }
    words[i] = static_cast<std::uint16_t>(n.value);
  }
  for (const ParameterField& f : parameterFields()) {
    const std::optional<std::int64_t> maximum = fieldMaximum(f, pixels);
    const std::int64_t value = fieldValue(f, words);
    if (!maximum || value <= *maximum) {
      continue;
    }
    return atLine(path, (*numbers)[static_cast<std::size_t>(f.firstWord)].line) + f.section + " " +
           f.name + " is " + std::to_string(value) + ", allowed 0 to " + std::to_string(*maximum);
  }
  return {};
}

std::string checkLinFileStrictly(const std::string& path) {
  std::string fault;
  const std::optional<std::vector<Number>> numbers = readNumbers(path, kLinWords, fault);
  if (!numbers) {
    return fault;
  }
  for (const Number& n : *numbers) {
    if (!linValueInRange(n.value)) {
      return atLine(path, n.line) + std::to_string(n.value) + " is outside " +
             std::to_string(kLinMin) + " to " + std::to_string(kLinMax);
    }
  }
  return {};
}

}  // namespace qrix
