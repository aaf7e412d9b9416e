#pragma once
// Texts from the sensor made safe for output: JSON for --json, and printable text for a
// terminal.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace qrix::cli {

// A text as UTF-8, as JSON needs it. The program's texts are Latin-1 (the µ of a unit is one
// byte 0xB5 in some of them); any byte above 0x7F that starts no valid UTF-8 sequence is taken
// as Latin-1 and written as UTF-8.
std::string utf8Text(std::string_view text);

// A JSON value on one line, with a space after each colon and comma, keys in their order.
std::string jsonLine(const nlohmann::ordered_json& value);

// The length of the valid UTF-8 sequence of two or more bytes at `i`, else 0.
std::size_t utf8Length(std::string_view text, std::size_t i);

// The text with control characters, a backslash and bytes that are no UTF-8 written as escapes
// (\x1b, \\), so that a stray byte from the line cannot move the cursor or end a line.
std::string printableText(std::string_view text);

}  // namespace qrix::cli
