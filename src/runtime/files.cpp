#include "runtime/files.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qrix::files {

namespace fs = std::filesystem;

std::string MakePathname(const std::string& directory, const std::string& fileName) {
  if (directory.empty()) return fileName;
  return (fs::path(directory) / fileName).string();
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

int DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec) ? 0 : -1;
}

std::optional<std::vector<std::int64_t>> readIntegers(const std::string& path, std::size_t count) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::int64_t> values;
  values.reserve(count);
  std::string token;
  while (values.size() < count && in >> token) {
    std::int64_t v = 0;
    const char* first = token.data();
    const char* last = token.data() + token.size();
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    values.push_back(v);
  }
  if (values.size() < count) return std::nullopt;
  return values;
}

bool writeFileAtomically(const std::string& path, const std::string& content) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << content;
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

namespace {
std::string formatNow(const char* format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char buf[32];
  std::strftime(buf, sizeof buf, format, &local);
  return buf;
}
}  // namespace

std::string DateStr() {
  return formatNow("%m-%d-%Y");
}
std::string TimeStr() {
  return formatNow("%H:%M:%S");
}

}  // namespace qrix::files
