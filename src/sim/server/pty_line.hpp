#pragma once

// A pseudo-terminal standing in for the sensor's serial line. The server
// talks on the master side; clients open the slave device path.

#include <string>

#include "unique_fd.hpp"

namespace qrix::sim {

class PtyLine {
 public:
  // Creates the pair with both sides raw. Throws std::system_error.
  static PtyLine open();

  int master() const { return master_.get(); }
  const std::string& devicePath() const { return devicePath_; }
  bool isOpen() const { return master_.valid(); }

  // Answer bytes written but not yet read by a client.
  int unreadByClient() const;

  // Drops the line: clients see a hang-up and the device path disappears.
  void hangUp();

 private:
  PtyLine() = default;

  UniqueFd master_;
  // Held open for the server's whole life: without any open slave the master
  // reads fail with EIO between clients and the device may vanish.
  UniqueFd slave_;
  std::string devicePath_;
};

}  // namespace qrix::sim
