#pragma once
// One file per fuzzing process that each input is written into, for the readers that take a
// path; removed when the process ends.

#include <string>
#include <string_view>

namespace qrix::fuzz {

class ScratchFile {
 public:
  explicit ScratchFile(std::string_view name);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the file's bytes; its path.
  const std::string& write(std::string_view bytes);

 private:
  std::string path_;
};

}  // namespace qrix::fuzz
