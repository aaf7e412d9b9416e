// The linearisation file reader: any bytes as the file a user picks for the external flash.
// Each input is read twice: as it is, and followed by 2048 zeros, so that a short input also
// makes a whole table whose first entries it sets.
//
// Promises checked:
// - a file that was refused leaves the table loaded before it as it was, and says so;
// - a file whose first 2048 fields are plain decimal numbers within -32768..32767 is taken,
//   each entry the flash word of its number;
// - a file with fewer than 2048 fields, or a field among them that is no number or lies outside
//   that range, is refused.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "linearisation/lin_file.h"
#include "support/fuzz_check.h"
#include "support/number_fields.h"
#include "support/offline_program.h"
#include "support/scratch_file.h"

namespace qrix::fuzz {
namespace {

constexpr std::string_view kRefused = "Error reading linearisation file!";

struct Expected {
  bool taken;
  LinTable table{};
};
// Whether the file must be taken (giving this table) or refused; none when either may be right.
std::optional<Expected> expectedOutcome(std::string_view text) {
  const auto fields = leadingFields(text, kLinWords);
  if (fields.size() < static_cast<std::size_t>(kLinWords)) return Expected{false};
  Expected taken{true};
  bool clear = true;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldValue v = fieldValue(fields[i]);
    if (v.kind == FieldValue::NotANumber) return Expected{false};
    if (v.kind == FieldValue::Number && v.fits18 &&
        (v.value < std::numeric_limits<std::int16_t>::min() ||
         v.value > std::numeric_limits<std::int16_t>::max()))
      return Expected{false};
    clear = clear && v.kind == FieldValue::Number && v.fits18;
    if (clear) taken.table[i] = linWord(static_cast<std::int16_t>(v.value));
  }
  if (!clear) return std::nullopt;
  return taken;
}

void loadAndCheck(const std::string& text) {
  static ScratchFile file("qrix-fuzz-lin");
  const std::string& path = file.write(text);

  OfflineProgram program;
  Program& p = program.p;
  p.setStatus("");
  LinTable table;
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint16_t>(i * 31 + 7);
  const LinTable before = table;

  program.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, path});
  const int result = ReadLinDataFromFile(p, table);

  const bool refused = result == kLinFileError;
  FUZZ_CHECK(refused || result == kLinFileLoaded, "a chosen file is either taken or refused");
  FUZZ_CHECK(refused == (p.st.szStatus == kRefused),
             "a refused file says so in the status line, a taken one does not");
  if (refused) FUZZ_CHECK(table == before, "a refused file leaves the loaded table");
  if (const std::optional<Expected> expected = expectedOutcome(text)) {
    FUZZ_CHECK(refused != expected->taken,
               "a file is taken exactly when its 2048 fields are 16-bit numbers");
    if (expected->taken) FUZZ_CHECK(table == expected->table, "each entry is its flash word");
  }
}

}  // namespace
}  // namespace qrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  qrix::fuzz::loadAndCheck(text);
  std::string completed = text + "\n";
  for (int i = 0; i < qrix::kLinWords; ++i) completed += "0\n";
  qrix::fuzz::loadAndCheck(completed);
  return 0;
}
