#pragma once
// Reading a recorder file back: the four header lines, then each sample line handed to a
// callback as it is parsed. The file is read in large blocks and each number is parsed in place,
// so a recording of millions of lines takes about a second. The first fault ends the reading
// with the 1-based number of its line and what is wrong there.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "recorder/recorder_file.h"

namespace qrix {

struct RecorderHeader {
  std::string date, time;  // "MM-DD-YYYY", "HH:MM:SS" as written
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::uint16_t interval = 0;  // seconds between samples; 0: every answer
  std::int32_t setpoint = 0;
};

struct RecorderFault {
  std::uint64_t line = 0;  // 1-based; 0 when the file itself could not be read
  std::string what;
};

// The sample's 0-based number in the file, and its values.
using RecorderSampleHandler = std::function<void(std::uint64_t index, const RecorderSample&)>;

// Takes a recorder file's bytes in pieces of any size.
class RecorderReader {
 public:
  explicit RecorderReader(RecorderSampleHandler onSample) : onSample_(std::move(onSample)) {}

  // Parses the complete lines of `bytes` (a line may continue in the next piece); false once a
  // fault was found, and then for every later piece.
  bool feed(std::string_view bytes);
  // The end of the file: false when the header is incomplete or the last line has no line end.
  bool finish();

  bool headerRead() const { return line_ >= 4; }
  const RecorderHeader& header() const { return header_; }
  std::uint64_t samples() const { return samples_; }
  // Empty `what` while all is well.
  const RecorderFault& fault() const { return fault_; }

  // Lines longer than this are no recorder lines; the reader never holds more of one.
  static constexpr std::size_t kLongestLine = 1024;

 private:
  bool takeLine(std::string_view line);
  bool takeHeaderLine(std::string_view line);
  bool takeSampleLine(std::string_view line);
  bool fail(std::string what);

  RecorderSampleHandler onSample_;
  RecorderHeader header_;
  RecorderFault fault_;
  std::uint64_t line_ = 0;  // lines taken
  std::uint64_t samples_ = 0;
  std::string partial_;  // the start of a line whose end is in the next piece
};

// "PATH:LINE: what", or "PATH: what" for a file that could not be read.
std::string faultText(const std::string& path, const RecorderFault& fault);

// Reads the file at `path` (UTF-8) through a RecorderReader. False with the fault when the
// file cannot be read or is not a complete recorder file; samples before the fault were handed
// on.
bool readRecorderFile(const std::string& path, const RecorderSampleHandler& onSample,
                      RecorderHeader& header, RecorderFault& fault);

}  // namespace qrix
