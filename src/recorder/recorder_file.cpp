#include "recorder/recorder_file.h"

#include <filesystem>

#include "runtime/files.h"

namespace qrix {

using recorder_text::kColumns;
using recorder_text::kIntervalLabel;
using recorder_text::kLineEnd;
using recorder_text::kSetpointLabel;

std::string recorderHeader(std::string_view date, std::string_view time, std::uint16_t interval,
                           std::int32_t setpoint) {
  std::string text;
  text.append(date).append(" ").append(time).append(kLineEnd);
  text.append(kIntervalLabel).append(std::to_string(interval)).append(kLineEnd);
  text.append(kSetpointLabel).append(std::to_string(setpoint)).append(kLineEnd);
  text.append(kColumns).append(kLineEnd);
  return text;
}

std::string recorderSampleLine(const RecorderSample& s) {
  std::string line;
  for (std::int64_t v :
       {std::int64_t{s.slave}, std::int64_t{s.master}, std::int64_t{s.mval}, std::int64_t{s.mvalUm},
        std::int64_t{s.slaveEdges}, std::int64_t{s.masterEdges}}) {
    if (!line.empty()) {
      line += '\t';
    }
    line += std::to_string(v);
  }
  line.append(kLineEnd);
  return line;
}

bool RecorderFile::create(const std::string& path) {
  file_.reset(files::openFile(path, "wb"));
  path_ = path;
  complete_ = 0;
  return isOpen();
}

bool RecorderFile::append(std::string_view text) {
  if (!file_) {
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file_.get()) == text.size();
  if (std::fflush(file_.get()) == 0 && written) {
    complete_ += text.size();
    return true;
  }
  // Closed first, so that nothing left in the buffer lands after the cut.
  file_.reset();
  std::error_code ec;
  std::filesystem::resize_file(files::pathOf(path_), complete_, ec);
  return false;
}

bool RecorderFile::close() {
  if (!file_) {
    return true;
  }
  // A close can still report a write the system deferred.
  return std::fclose(file_.release()) == 0;
}

}  // namespace qrix
