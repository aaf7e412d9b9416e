#include "mosquitto_broker.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace qrix::testing {

namespace {

constexpr const char* kBroker = "/usr/sbin/mosquitto";

// A port the system has free now: bound to 0, read back, released.
std::uint16_t freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  std::uint16_t port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
    port = ntohs(addr.sin_port);
  }
  ::close(fd);
  return port;
}

bool accepts(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

pid_t spawn(const std::vector<std::string>& args, const std::filesystem::path& logFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::vector<char*> argv;
  for (const std::string& a : args) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

std::string userName() {
  const passwd* pw = ::getpwuid(::geteuid());
  return pw ? pw->pw_name : "root";
}

}  // namespace

bool runToEnd(const std::vector<std::string>& args, const std::filesystem::path& logFile) {
  const pid_t pid = spawn(args, logFile);
  if (pid <= 0) {
    return false;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

MosquittoBroker::MosquittoBroker(BrokerSettings settings) : settings_(std::move(settings)) {
  std::string pattern = (std::filesystem::temp_directory_path() / "qrix-mqtt-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    setupError_ = "cannot make a temporary folder";
    return;
  }
  folder_ = pattern;
  port_ = freePort();
  if (port_ == 0) {
    setupError_ = "no free port";
    return;
  }
  writeConfiguration(setupError_);
}

MosquittoBroker::~MosquittoBroker() {
  stop();
  std::error_code ignored;
  if (!folder_.empty()) {
    std::filesystem::remove_all(folder_, ignored);
  }
}

bool MosquittoBroker::ready(std::string& reason) const {
  reason = setupError_;
  return setupError_.empty();
}

bool MosquittoBroker::writeConfiguration(std::string& reason) {
  const std::filesystem::path tools = folder_ / "tools.log";
  std::ostringstream conf;
  conf << "listener " << port_ << " 127.0.0.1\n"
       << "user " << userName() << "\n"
       << "log_dest stderr\n"
       << "log_type error\nlog_type warning\nlog_type notice\n"
       << "max_queued_messages 200000\n";
  if (settings_.persistence) {
    conf << "persistence true\npersistence_location " << folder_.string() << "/\n"
         << "autosave_interval 0\n";
  } else {
    conf << "persistence false\n";
  }
  if (settings_.user) {
    const std::string passwords = (folder_ / "passwords").string();
    if (!runToEnd({"mosquitto_passwd", "-b", "-c", passwords, settings_.user->first,
                   settings_.user->second},
                  tools)) {
      reason = "mosquitto_passwd failed";
      return false;
    }
    conf << "allow_anonymous false\npassword_file " << passwords << "\n";
  } else {
    conf << "allow_anonymous true\n";
  }
  if (settings_.tls) {
    const std::string d = folder_.string() + "/";
    std::ofstream(d + "server.ext") << "subjectAltName=IP:127.0.0.1\n";
    const std::vector<std::string> ec = {"-newkey", "ec", "-pkeyopt",
                                         "ec_paramgen_curve:prime256v1", "-nodes"};
    std::vector<std::string> ca = {"openssl", "req", "-x509"};
    ca.insert(ca.end(), ec.begin(), ec.end());
    ca.insert(ca.end(), {"-keyout", d + "ca.key", "-out", d + "ca.crt", "-days", "2", "-subj",
                         "/CN=qrix test CA"});
    std::vector<std::string> request = {"openssl", "req"};
    request.insert(request.end(), ec.begin(), ec.end());
    request.insert(request.end(), {"-keyout", d + "server.key", "-out", d + "server.csr", "-subj",
                                   "/CN=127.0.0.1"});
    const std::vector<std::string> sign = {
        "openssl",       "x509",           "-req",   "-in",        d + "server.csr",
        "-CA",           d + "ca.crt",     "-CAkey", d + "ca.key", "-CAcreateserial",
        "-out",          d + "server.crt", "-days",  "2",          "-extfile",
        d + "server.ext"};
    if (!runToEnd(ca, tools) || !runToEnd(request, tools) || !runToEnd(sign, tools)) {
      reason = "openssl could not make the certificates";
      return false;
    }
    conf << "cafile " << d << "ca.crt\ncertfile " << d << "server.crt\nkeyfile " << d
         << "server.key\n";
  }
  std::ofstream((folder_ / "mosquitto.conf").string()) << conf.str();
  return true;
}

std::string MosquittoBroker::log() const {
  std::ifstream in(folder_ / "broker.log");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool MosquittoBroker::start(std::string& reason) {
  if (!ready(reason)) {
    return false;
  }
  if (running()) {
    return true;
  }
  pid_ = spawn({kBroker, "-c", (folder_ / "mosquitto.conf").string()}, folder_ / "broker.log");
  if (pid_ <= 0) {
    reason = std::string("cannot start ") + kBroker;
    pid_ = -1;
    return false;
  }
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < until) {
    if (accepts(port_)) {
      return true;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      reason = "the broker exited at its start:\n" + log();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  stop();
  reason = "the broker did not listen within 5 s:\n" + log();
  return false;
}

void MosquittoBroker::stop() {
  if (pid_ <= 0) {
    return;
  }
  ::kill(pid_, SIGTERM);
  ::kill(pid_, SIGCONT);
  waitForExit();
}

void MosquittoBroker::kill() {
  if (pid_ <= 0) {
    return;
  }
  ::kill(pid_, SIGKILL);
  waitForExit();
}

void MosquittoBroker::freeze() {
  if (pid_ > 0) {
    ::kill(pid_, SIGSTOP);
  }
}

bool MosquittoBroker::saveSessions() {
  const std::filesystem::path db = folder_ / "mosquitto.db";
  std::error_code ignored;
  std::filesystem::remove(db, ignored);
  if (pid_ <= 0 || ::kill(pid_, SIGUSR1) != 0) {
    return false;
  }
  for (int i = 0; i < 200; ++i) {
    if (std::filesystem::file_size(db, ignored) > 0 && !ignored) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void MosquittoBroker::waitForExit() {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
}

}  // namespace qrix::testing
