#include "cli/json_text.h"

#include <cstdio>

namespace qrix::cli {

std::size_t utf8Length(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t length = lead >= 0xF0 && lead < 0xF5   ? 4
                             : lead >= 0xE0                ? 3
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                                                           : 0;
  if (length == 0 || i + length > text.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
      return 0;
    }
  }
  return length;
}

std::string utf8Text(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = utf8Length(text, i); length > 0) {
      out.append(text.substr(i, length));
      i += length - 1;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string jsonLine(const nlohmann::ordered_json& value) {
  if (value.is_object()) {
    std::string out = "{";
    for (auto it = value.begin(); it != value.end(); ++it) {
      out += (it == value.begin() ? "" : ", ") + nlohmann::json(it.key()).dump() + ": " +
             jsonLine(it.value());
    }
    return out + "}";
  }
  if (value.is_array()) {
    std::string out = "[";
    for (std::size_t i = 0; i < value.size(); ++i) {
      out += (i ? ", " : "") + jsonLine(value[i]);
    }
    return out + "]";
  }
  return value.dump();
}

// The sensor's text for a terminal: control characters, a backslash and bytes that are no
// UTF-8 written as escapes, so that a stray byte cannot move the cursor or end a line.
std::string printableText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : utf8Length(text, i);
    if (c >= 0x20 && c != 0x7F && c != '\\' && length > 0) {
      out.append(text.substr(i, length));
      i += length - 1;
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
    out += c == '\\' ? "\\\\" : escaped;
  }
  return out;
}

}  // namespace qrix::cli
