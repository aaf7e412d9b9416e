#pragma once
// Texts from the sensor made safe for output: JSON string literals for --json, and printable
// text for a terminal.

#include <string>
#include <string_view>

namespace qrix::cli {

// A JSON string literal. The program's texts are Latin-1 (the µ of a unit is one byte 0xB5 in
// some of them); any byte above 0x7F is taken as Latin-1 and written as UTF-8.
std::string jsonString(std::string_view text);

// The length of the valid UTF-8 sequence of two or more bytes at `i`, else 0.
std::size_t utf8Length(std::string_view text, std::size_t i);

// The text with control characters, a backslash and bytes that are no UTF-8 written as escapes
// (\x1b, \\), so that a stray byte from the line cannot move the cursor or end a line.
std::string printableText(std::string_view text);

}  // namespace qrix::cli
