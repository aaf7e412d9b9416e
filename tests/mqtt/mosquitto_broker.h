#pragma once
// A real mosquitto broker for tests and benchmarks: /usr/sbin/mosquitto on 127.0.0.1 on a free
// port, with a configuration written into a temporary folder of its own, which goes with it.
// It can be stopped and started again on the same port.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qrix::testing {

struct BrokerSettings {
  // TLS on the listener, with a CA and a server certificate for 127.0.0.1 made with openssl.
  bool tls = false;
  // A password file with this one user; anonymous clients are then refused.
  std::optional<std::pair<std::string, std::string>> user;
  // Kept on disk across a restart: the sessions of clients that asked for one (the tests'
  // subscriber), so that it misses nothing published while it reconnects.
  bool persistence = false;
};

class MosquittoBroker {
 public:
  explicit MosquittoBroker(BrokerSettings settings = {});
  ~MosquittoBroker();
  MosquittoBroker(const MosquittoBroker&) = delete;
  MosquittoBroker& operator=(const MosquittoBroker&) = delete;

  // False, with the reason (and the broker's log), when the folder, certificates or password
  // file could not be made.
  bool ready(std::string& reason) const;

  // Starts the broker and waits until it accepts connections; false, with its log, otherwise.
  bool start(std::string& reason);
  // Ends the broker (SIGTERM) and waits for it to exit.
  void stop();
  // Writes the sessions to disk now (SIGUSR1), with persistence; true once the file is there.
  bool saveSessions();
  // Halts the broker where it is (SIGSTOP): connections stay open and nothing is answered.
  void freeze();
  // Ends the broker at once (SIGKILL): what it had not written to disk is gone.
  void kill();
  bool running() const { return pid_ > 0; }

  std::uint16_t port() const { return port_; }
  // The CA certificate that signed the broker's, with TLS.
  std::string caFile() const { return (folder_ / "ca.crt").string(); }
  const std::filesystem::path& folder() const { return folder_; }
  // What the broker logged so far (errors, warnings, notices: connections and their ends).
  std::string log() const;

 private:
  bool writeConfiguration(std::string& reason);
  void waitForExit();
  BrokerSettings settings_;
  std::filesystem::path folder_;
  std::uint16_t port_ = 0;
  pid_t pid_ = -1;
  std::string setupError_;
};

// Runs a program to its end, its output into `logFile`; true when it exited with 0.
bool runToEnd(const std::vector<std::string>& args, const std::filesystem::path& logFile);

}  // namespace qrix::testing
