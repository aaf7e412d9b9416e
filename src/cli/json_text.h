#pragma once
// Just enough JSON for the results of info, get and compare: quoted strings and flat objects.

#include <string>
#include <string_view>

namespace qrix::cli {

// A JSON string literal. The program's texts are Latin-1 (the µ of a unit is one byte 0xB5 in
// some of them); any byte above 0x7F is taken as Latin-1 and written as UTF-8.
std::string jsonString(std::string_view text);

}  // namespace qrix::cli
