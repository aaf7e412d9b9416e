#include "runtime/output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include "runtime/files.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qrix::files {

namespace fs = std::filesystem;

namespace {

// Bytes a file name may have in `folder`.
std::size_t nameMax(const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  return 255;  // UTF-16 units; a byte count is never more
#else
  const long max = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return max > 0 ? static_cast<std::size_t>(max) : 255;
#endif
}

std::string systemReason(int error) {
  return std::strerror(error);
}

bool fail(std::string* reason, const std::string& text) {
  if (reason) {
    *reason = text;
  }
  return false;
}

// Creates a file of a fresh name beside `path`; a name that exists is never opened, so no
// unrelated file is ever overwritten.
std::FILE* createTempBeside(const std::string& path, std::string& temp) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    temp = nameBeside(path, suffix);
    errno = 0;
    if (std::FILE* f = createNewFile(temp)) {
      return f;
    }
    if (errno != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
}

// Hands the file's contents to the disk, so that a rename never publishes an empty file.
bool syncToDisk(std::FILE* f) {
  if (std::fflush(f) != 0) {
    return false;
  }
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

#ifndef _WIN32
std::string folderOf(const std::string& path) {
  return fs::path(path).parent_path().string();
}

// The name a chain of symlinks ends in, for a link whose file does not exist yet.
bool followLinks(std::string& path, std::string& reason) {
  for (int hops = 0;; ++hops) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      return true;
    }
    if (hops == 40) {
      reason = systemReason(ELOOP);
      return false;
    }
    std::error_code ec;
    const fs::path to = fs::read_symlink(path, ec);
    if (ec) {
      reason = ec.message();
      return false;
    }
    path = to.is_absolute() ? to.string() : (fs::path(path).parent_path() / to).string();
  }
}

// Gives the new file the permission bits and owner of the one it replaces.
void takeOverMode(int fd, const struct stat& old) {
  // The owner first: a change of owner clears set-user-ID bits. Only root may give a file away.
  if (fchown(fd, old.st_uid, old.st_gid) != 0) {
    (void)fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  (void)fchmod(fd, old.st_mode & 07777);
}

bool writeAll(int fd, const char* data, std::size_t size, std::string* reason) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return fail(reason, systemReason(n < 0 ? errno : ENOSPC));
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::optional<std::string> readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    return std::nullopt;
  }
  return content.str();
}

// Writes into a target that is no regular file through its own name, as a shell's `>` does.
bool writeInPlace(const std::string& path, const char* data, std::size_t size,
                  std::string* reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return fail(reason, systemReason(errno));
  }
  bool written = writeAll(fd, data, size, reason);
  if (::close(fd) != 0 && written) {
    written = fail(reason, systemReason(errno));
  }
  return written;
}
#endif

}  // namespace

bool resolveOutput(const std::string& path, OutputTarget& target, std::string& reason) {
  target = {path, false};
#ifdef _WIN32
  (void)reason;
  return true;
#else
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      reason = systemReason(EISDIR);
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      target.inPlace = true;
      return true;
    }
    char* real = realpath(path.c_str(), nullptr);
    if (!real) {
      reason = systemReason(errno);
      return false;
    }
    target.path = real;
    std::free(real);
    return true;
  }
  if (errno != ENOENT) {
    reason = systemReason(errno);
    return false;
  }
  // A new file, perhaps at the end of a symlink that points at nothing yet.
  return followLinks(target.path, reason);
#endif
}

std::string checkOutputFile(const std::string& path) {
  OutputTarget target;
  std::string reason;
  if (!resolveOutput(path, target, reason)) {
    return reason;
  }
#ifndef _WIN32
  if (target.inPlace) {
    return access(target.path.c_str(), W_OK) == 0 ? "" : systemReason(errno);
  }
  const std::string folder = folderOf(target.path);
  const std::string name = fs::path(target.path).filename().string();
  if (name.size() > nameMax(folder)) {
    return systemReason(ENAMETOOLONG);
  }
  struct stat st {};
  if (stat(folder.empty() ? "." : folder.c_str(), &st) != 0) {
    return systemReason(errno);
  }
  if (!S_ISDIR(st.st_mode)) {
    return systemReason(ENOTDIR);
  }
  // The temporary file is made in the folder and renamed there.
  if (access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0) {
    return systemReason(errno);
  }
#endif
  return {};
}

std::string nameBeside(const std::string& path, std::string_view suffix) {
  const fs::path p(path);
  const std::string folder = p.parent_path().string();
  std::string name = p.filename().string();
  const std::size_t max = nameMax(folder);
  if (name.size() + suffix.size() > max && max > suffix.size()) {
    name.resize(max - suffix.size());
    // Cut before a whole character, never inside a UTF-8 sequence: the last character's lead
    // byte tells how long it must be.
    std::size_t lead = name.size();
    while (lead > 0 && (static_cast<unsigned char>(name[lead - 1]) & 0xC0) == 0x80) {
      --lead;
    }
    if (lead > 0) {
      const auto c = static_cast<unsigned char>(name[lead - 1]);
      const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      if (name.size() - (lead - 1) < length) {
        name.resize(lead - 1);
      }
    }
  }
  name.append(suffix);
  return folder.empty() ? name : (p.parent_path() / name).string();
}

bool writeFileAtomically(const std::string& path, const std::string& content, std::string* reason) {
  OutputTarget target;
  std::string why;
  if (!resolveOutput(path, target, why)) {
    return fail(reason, why);
  }
#ifndef _WIN32
  if (target.inPlace) {
    return writeInPlace(target.path, content.data(), content.size(), reason);
  }
#endif
  std::string temp;
  std::FILE* f = createTempBeside(target.path, temp);
  if (!f) {
    return fail(reason, systemReason(errno ? errno : EEXIST));
  }
#ifndef _WIN32
  struct stat old {};
  if (stat(target.path.c_str(), &old) == 0) {
    takeOverMode(fileno(f), old);
  }
#endif
  errno = 0;
  bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  written = syncToDisk(f) && written;
  // A close can still fail (a deferred write error): that too is a failed write.
  written = std::fclose(f) == 0 && written;
  std::error_code ec;
  if (!written) {
    const int error = errno ? errno : EIO;
    fs::remove(pathOf(temp), ec);
    return fail(reason, systemReason(error));
  }
  fs::rename(pathOf(temp), pathOf(target.path), ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(pathOf(temp), ignored);
    return fail(reason, ec.message());
  }
  return true;
}

bool replaceWithFile(const std::string& written, const std::string& path, std::string* reason) {
  OutputTarget target;
  std::string why;
  if (!resolveOutput(path, target, why)) {
    return fail(reason, why);
  }
  std::error_code ec;
#ifndef _WIN32
  if (target.inPlace) {
    const std::optional<std::string> content = readWholeFile(written);
    if (!content) {
      return fail(reason, systemReason(errno ? errno : EIO));
    }
    if (!writeInPlace(target.path, content->data(), content->size(), reason)) {
      return false;
    }
    fs::remove(written, ec);
    return true;
  }
  struct stat old {};
  if (stat(target.path.c_str(), &old) == 0) {
    const int fd = ::open(written.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      takeOverMode(fd, old);
      ::close(fd);
    }
  }
#endif
  fs::rename(pathOf(written), pathOf(target.path), ec);
  if (ec) {
    return fail(reason, ec.message());
  }
  return true;
}

}  // namespace qrix::files
