#include "runtime/files.h"

#include <fcntl.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#endif

namespace qrix::files {

namespace fs = std::filesystem;

fs::path pathOf(const std::string& utf8) {
#ifdef _WIN32
  try {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
  } catch (const std::exception&) {
    return fs::path(utf8);  // not UTF-8 after all: as the code page reads it
  }
#else
  return fs::path(utf8);
#endif
}

namespace {
// The UTF-8 text of a path.
std::string textOf(const fs::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}
}  // namespace

std::FILE* openFile(const std::string& path, const char* mode) {
#ifdef _WIN32
  return _wfopen(pathOf(path).c_str(), std::wstring(mode, mode + std::strlen(mode)).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

std::string MakePathname(const std::string& directory, const std::string& fileName) {
  if (directory.empty()) {
    return fileName;
  }
  return textOf((pathOf(directory) / pathOf(fileName)).make_preferred());
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(pathOf(path), ec);
}

int DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(pathOf(path), ec) ? 0 : -1;
}

std::optional<std::vector<std::int64_t>> readIntegers(const std::string& path, std::size_t count) {
  std::ifstream in(pathOf(path), std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::vector<std::int64_t> values;
  values.reserve(count);
  std::string token;
  while (values.size() < count && in >> token) {
    std::int64_t v = 0;
    const char* first = token.data();
    const char* last = token.data() + token.size();
    if (*first == '+') {
      ++first;
    }
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last) {
      return std::nullopt;
    }
    values.push_back(v);
  }
  if (values.size() < count) {
    return std::nullopt;
  }
  return values;
}

std::FILE* createNewFile(const std::string& path) {
#ifdef _WIN32
  // The Windows C runtime ignores fopen's "x" and would empty a file of that name.
  const int fd = _wopen(pathOf(path).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    return nullptr;
  }
  std::FILE* f = _fdopen(fd, "wb");
  if (!f) {
    _close(fd);
  }
  return f;
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

bool plugClosedStandardStreams() {
  bool stdoutClosed = false;
#ifndef _WIN32
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
      continue;
    }
    stdoutClosed |= fd == 1;
    // open() takes the lowest free descriptor: this one.
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) {
      break;
    }
  }
#endif
  return stdoutClosed;
}

int finishStdout(const char* program, int status) {
  errno = 0;
  // An earlier write that failed stays flagged on the stream; the flush finds the rest.
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !std::ferror(stdout)) {
    return status;
  }
  std::fprintf(stderr, "%s: cannot write the output: %s\n", program,
               !flushed && error ? std::strerror(error) : "a write failed");
  return status == 0 ? 1 : status;
}

namespace {
std::string formatLocal(std::time_t when, const char* format) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char buf[32];
  std::strftime(buf, sizeof buf, format, &local);
  return buf;
}
}  // namespace

std::string DateStr(std::time_t when) {
  return formatLocal(when, "%m-%d-%Y");
}
std::string TimeStr(std::time_t when) {
  return formatLocal(when, "%H:%M:%S");
}

}  // namespace qrix::files
