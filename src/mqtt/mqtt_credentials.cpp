#include "mqtt/mqtt_credentials.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qrix::mqtt {

namespace {

// A credentials file is a few dozen bytes; anything far larger is not one.
constexpr std::size_t kMaxFileBytes = 64 * 1024;

bool fail(std::string& reason, std::string text) {
  reason = std::move(text);
  return false;
}

std::string systemReason(const std::string& path) {
  return path + ": " + std::strerror(errno);
}

// Reads all of an open file, up to kMaxFileBytes + 1 bytes.
bool readAll(int fd, std::string& content) {
  char buffer[4096];
  while (content.size() <= kMaxFileBytes) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return false;
    }
    if (n == 0) {
      return true;
    }
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

std::vector<std::string> linesOf(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) {
      end = content.size();
    }
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

bool credentialsFromEnvironment(std::optional<MqttCredentials>& credentials, std::string& reason) {
  const char* user = std::getenv("QRIX_MQTT_USER");
  const char* password = std::getenv("QRIX_MQTT_PASSWORD");
  if (!user || !*user) {
    if (password) {
      return fail(reason, "QRIX_MQTT_PASSWORD is set but QRIX_MQTT_USER is not");
    }
    credentials.reset();
    return true;
  }
  credentials = MqttCredentials{user, password ? password : ""};
  return true;
}

bool credentialsFromFile(const std::string& path, MqttCredentials& credentials,
                         std::string& reason) {
  // The checks are made on the file opened, so that it cannot be swapped between them.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return fail(reason, systemReason(path));
  }
  struct stat st {};
  std::string content;
  bool ok = ::fstat(fd, &st) == 0;
  if (!ok) {
    reason = systemReason(path);
  } else if (!S_ISREG(st.st_mode)) {
    ok = fail(reason, path + ": not a regular file");
  } else if (st.st_mode & (S_IRWXG | S_IRWXO)) {
    ok = fail(reason, path +
                          ": group or others may access this credentials file; make it "
                          "private to its owner (chmod 600)");
  } else if (!readAll(fd, content)) {
    ok = fail(reason, systemReason(path));
  }
  ::close(fd);
  if (!ok) {
    return false;
  }
  if (content.size() > kMaxFileBytes) {
    return fail(reason, path + ": too large for a credentials file");
  }

  const std::vector<std::string> lines = linesOf(content);
  if (lines.empty() || lines[0].empty()) {
    return fail(reason, path + ": the first line must hold the user name");
  }
  if (lines.size() > 2) {
    return fail(reason, path +
                            ": more than two lines; the file holds the user name and the "
                            "password only");
  }
  credentials = MqttCredentials{lines[0], lines.size() > 1 ? lines[1] : ""};
  return true;
}

bool loadCredentials(const std::string& filePath, std::optional<MqttCredentials>& credentials,
                     std::string& reason) {
  if (filePath.empty()) {
    return credentialsFromEnvironment(credentials, reason);
  }
  MqttCredentials fromFile;
  if (!credentialsFromFile(filePath, fromFile, reason)) {
    return false;
  }
  credentials = std::move(fromFile);
  return true;
}

}  // namespace qrix::mqtt
