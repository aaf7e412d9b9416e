// The parameter file reader: any bytes as the file a user loads with GET and the file as target
// (the dialog, the reader, the record taking the words; the panels then show the record within
// their limits, which the parameter tests pin). Each input is read as it is and as the start of a
// whole file (support/number_fields.h).
//
// Promises checked:
// - a file that was refused leaves the record and every panel value as they were, and says so;
// - a file whose first 45 fields are plain unsigned decimal numbers is taken, the record holding
//   each number's low 16 bits as its word;
// - a file with fewer than 45 fields, or a field among them that is no number or a negative
//   one, is refused.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "params/file_target.h"
#include "params/param_file.h"
#include "support/fuzz_check.h"
#include "support/number_fields.h"
#include "support/offline_program.h"
#include "support/scratch_file.h"

namespace qrix::fuzz {
namespace {

constexpr std::string_view kRefused = "Error reading parameter file!";

FieldVerdict judge(const FieldValue& v) {
  if (v.kind == FieldValue::NotANumber) {
    return {FieldVerdict::Refuse};
  }
  if (v.kind == FieldValue::Unclear || !v.fits18) {
    return {FieldVerdict::Unclear};
  }
  if (v.value < 0) {
    return {FieldVerdict::Refuse};
  }
  return {FieldVerdict::Word, v.low16};
}

void loadAndCheck(const std::string& text) {
  static ScratchFile file("qrix-fuzz-para");
  const std::string& path = file.write(text);

  OfflineProgram program;
  Program& p = program.p;
  p.storeStatusText("");
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
  if (const auto expected = expectedVerdict(text, kParaFileWords, judge)) {
    FUZZ_CHECK(refused != expected->taken, "a file is taken exactly when its 45 fields are words");
    const ParaFileWords words = recordToWords(p.st.parameter);
    if (expected->taken) {
      FUZZ_CHECK(std::equal(words.begin(), words.end(), expected->words.begin()),
                 "the record takes the file's words");
    }
  }
}

}  // namespace
}  // namespace qrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const std::string& text : qrix::fuzz::asFiles(data, size, qrix::kParaFileWords)) {
    qrix::fuzz::loadAndCheck(text);
  }
  return 0;
}
