#pragma once
// The recorder file: a header of four lines (start date and time, interval, set-point, column
// names), then one tab-separated line of six RUN values per sample, every line ending in CR LF.
// The file is kept open for the whole recording and each line is handed to the system as soon
// as it is written, so a line the sample counter shows is never lost with the program.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace qrix {

// The six RUN values of one sample line, in file order.
struct RecorderSample {
  std::uint16_t slave = 0;        // Aval
  std::uint16_t master = 0;       // Bval
  std::uint16_t mval = 0;         // Mvalue
  std::int32_t mvalUm = 0;        // umValue
  std::uint16_t slaveEdges = 0;   // edcntA
  std::uint16_t masterEdges = 0;  // edcntB

  friend bool operator==(const RecorderSample&, const RecorderSample&) = default;
};

// The fixed texts of the file, which the reader checks too. The micro sign is the single
// Latin-1 byte 0xB5, as the file has always carried it.
namespace recorder_text {
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kIntervalLabel = "Q-RIX-RECORDER-FILE: Time-Interval[s]: ";
inline constexpr std::string_view kSetpointLabel = "SETPOINT-VALUE [\xB5m]: ";
inline constexpr std::string_view kColumns = "SLAVE\tMASTER\tMVAL\tMVAL[um]\tS_EDGE\tM_EDGE";
}  // namespace recorder_text

// The four header lines; date "MM-DD-YYYY", time "HH:MM:SS" as the runtime gives them.
std::string recorderHeader(std::string_view date, std::string_view time, std::uint16_t interval,
                           std::int32_t setpoint);
std::string recorderSampleLine(const RecorderSample& sample);

class RecorderFile {
 public:
  // Creates the file anew (an existing one is cut to nothing); false when it cannot be created.
  bool create(const std::string& path);
  // Writes the text and flushes it to the system; false when either failed or no file is open.
  // A failed append closes the file and cuts off what part of the text got through, so the file
  // ends with the last complete line.
  bool append(std::string_view text);
  bool isOpen() const { return file_ != nullptr; }
  // Flushes and closes; false when a deferred write failed.
  bool close();

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
  std::uintmax_t complete_ = 0;  // bytes of whole appends
};

}  // namespace qrix
