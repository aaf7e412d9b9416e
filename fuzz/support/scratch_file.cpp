#include "support/scratch_file.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/fuzz_check.h"

namespace qrix::fuzz {

ScratchFile::ScratchFile(std::string_view name)
    : path_((std::filesystem::temp_directory_path() /
             (std::string(name) + "-" + std::to_string(::getpid())))
                .string()) {}

ScratchFile::~ScratchFile() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

const std::string& ScratchFile::write(std::string_view bytes) {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.good(), "the scratch file is written");
  return path_;
}

}  // namespace qrix::fuzz
