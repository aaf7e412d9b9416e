// The linearisation file reader: any bytes as the file a user picks for the external flash. Each
// input is read as it is and as the start of a whole file (support/number_fields.h).
//
// Promises checked:
// - a file that was refused leaves the table loaded before it as it was, and says so;
// - a file whose first 2048 fields are plain decimal numbers within -32767..32767 is taken,
//   each entry the flash word of its number;
// - a file with fewer than 2048 fields, or a field among them that is no number or lies outside
//   that range, is refused.

#include <algorithm>
#include <cstddef>
#include <cstdint>
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

FieldVerdict judge(const FieldValue& v) {
  if (v.kind == FieldValue::NotANumber) {
    return {FieldVerdict::Refuse};
  }
  if (v.kind == FieldValue::Unclear || !v.fits18) {
    return {FieldVerdict::Unclear};
  }
  // -32768 would wrap round to the top of the flash's range.
  if (v.value < -32767 || v.value > 32767) {
    return {FieldVerdict::Refuse};
  }
  return {FieldVerdict::Word, linWord(static_cast<std::int16_t>(v.value))};
}

void loadAndCheck(const std::string& text) {
  static ScratchFile file("qrix-fuzz-lin");
  const std::string& path = file.write(text);

  OfflineProgram program;
  Program& p = program.p;
  p.storeStatusText("");
  LinTable table;
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = static_cast<std::uint16_t>(i * 31 + 7);
  }
  const LinTable before = table;

  program.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, path});
  const int result = ReadLinDataFromFile(p, table);

  const bool refused = result == kLinFileError;
  FUZZ_CHECK(refused || result == kLinFileLoaded, "a chosen file is either taken or refused");
  FUZZ_CHECK(refused == (p.st.szStatus == kRefused),
             "a refused file says so in the status line, a taken one does not");
  if (refused) {
    FUZZ_CHECK(table == before, "a refused file leaves the loaded table");
  }
  if (const auto expected = expectedVerdict(text, kLinWords, judge)) {
    FUZZ_CHECK(refused != expected->taken,
               "a file is taken exactly when its 2048 fields are 16-bit numbers");
    if (expected->taken) {
      FUZZ_CHECK(std::equal(table.begin(), table.end(), expected->words.begin()),
                 "each entry is its flash word");
    }
  }
}

}  // namespace
}  // namespace qrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const std::string& text : qrix::fuzz::asFiles(data, size, qrix::kLinWords)) {
    qrix::fuzz::loadAndCheck(text);
  }
  return 0;
}
