// The parameter file reader: any bytes as the file a user loads with GET and the file as target
// (the dialog, the reader, the record taking the words; the panels then show the record within
// their limits, which the parameter tests pin). Each input is read twice: as it is, and followed
// by 45 zeros, so that a short input also makes a whole file whose first fields it sets.
//
// Promises checked:
// - a file that was refused leaves the record and every panel value as they were, and says so;
// - a file whose first 45 fields are plain unsigned decimal numbers is taken, the record holding
//   each number's low 16 bits as its word;
// - a file with fewer than 45 fields, or a field among them that is no number or a negative
//   one, is refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "params/param_file.h"
#include "support/fuzz_check.h"
#include "support/number_fields.h"
#include "support/offline_program.h"
#include "support/scratch_file.h"

namespace qrix::fuzz {
namespace {

constexpr std::string_view kRefused = "Error reading parameter file!";

// Whether the file must be taken (with these words) or refused; none when either may be right.
struct Expected {
  bool taken;
  ParaFileWords words{};
};
std::optional<Expected> expectedOutcome(std::string_view text) {
  const auto fields = leadingFields(text, kParaFileWords);
  if (fields.size() < static_cast<std::size_t>(kParaFileWords)) return Expected{false};
  Expected taken{true};
  bool clear = true;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldValue v = fieldValue(fields[i]);
    if (v.kind == FieldValue::NotANumber ||
        (v.kind == FieldValue::Number && v.fits18 && v.value < 0))
      return Expected{false};
    clear = clear && v.kind == FieldValue::Number && v.fits18;
    taken.words[i] = v.low16;
  }
  if (!clear) return std::nullopt;
  return taken;
}

void loadAndCheck(const std::string& text) {
  static ScratchFile file("qrix-fuzz-para");
  const std::string& path = file.write(text);

  OfflineProgram program;
  Program& p = program.p;
  p.setStatus("");
  const ParaFileWords recordBefore = recordToWords(p.st.parameter);
  const std::vector<double> panelsBefore = program.controlValues();

  program.rt.answerFileDialog({VAL_EXISTING_FILE_SELECTED, path});
  const int result = ReadParaFromFile(p);

  const bool refused = result == kParaFileError;
  FUZZ_CHECK(refused || result == kParaFileLoaded, "a chosen file is either taken or refused");
  FUZZ_CHECK(refused == (p.st.szStatus == kRefused),
             "a refused file says so in the status line, a taken one does not");
  if (refused) {
    FUZZ_CHECK(recordToWords(p.st.parameter) == recordBefore, "a refused file leaves the record");
    FUZZ_CHECK(program.controlValues() == panelsBefore, "a refused file leaves the panels");
  }
  if (const std::optional<Expected> expected = expectedOutcome(text)) {
    FUZZ_CHECK(refused != expected->taken, "a file is taken exactly when its 45 fields are words");
    if (expected->taken)
      FUZZ_CHECK(recordToWords(p.st.parameter) == expected->words,
                 "the record takes the file's words");
  }
}

}  // namespace
}  // namespace qrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  qrix::fuzz::loadAndCheck(text);
  std::string completed = text + "\n";
  for (int i = 0; i < qrix::kParaFileWords; ++i) completed += "0\n";
  qrix::fuzz::loadAndCheck(completed);
  return 0;
}
