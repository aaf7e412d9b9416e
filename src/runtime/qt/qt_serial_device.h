#pragma once
// A real serial line on Qt Serial Port. Program loops sometimes wait without pumping events,
// polling the input queue with short delays, so the queue length polls the port itself.
// A line that fails (cable pulled) is closed and reads and writes nothing from then on.

#include <memory>
#include <string>

#include "runtime/serial_device.h"
#include "runtime/serial_library.h"

class QSerialPort;
class QString;

namespace qrix::qt {

class QtSerialDevice : public serial::SerialDevice {
 public:
  // Opens `path` ("/dev/ttyUSB0", "COM3"); on failure returns null and sets `error`:
  //   kErrNoSerialPort (-6)  no such device
  //   kErrCannotOpen (-7)    busy (locked or open elsewhere) or no permission
  //   kErrUnknownSystem (-1) anything else (settings refused, ...)
  // The system's reason goes to stderr.
  static std::unique_ptr<QtSerialDevice> open(const std::string& path,
                                              const serial::OpenSettings& settings,
                                              serial::OpenError& error);
  // Only open() makes one.
  struct Opened {
    explicit Opened() = default;
  };
  QtSerialDevice(Opened, std::unique_ptr<QSerialPort> port);
  ~QtSerialDevice() override;

  std::size_t write(const std::uint8_t* data, std::size_t n) override;
  std::size_t read(std::uint8_t* data, std::size_t n) override;
  std::size_t inQueueLength() override;
  std::size_t receivedLength() override;
  void flushInput() override;
  void flushOutput() override;
  bool failed() const override { return failed_; }

 private:
  // Moves what the driver holds into Qt's buffer without waiting and without any callback.
  void poll();
  // Marks the line failed; closes it once Qt's own call that reported the error has returned.
  void fail(const QString& reason);
  bool usable();

  std::unique_ptr<QSerialPort> port_;
  bool failed_ = false;
  bool polling_ = false;
};

// A DeviceOpener for the serial library.
std::unique_ptr<serial::SerialDevice> openQtSerialDevice(const serial::PortEntry& entry,
                                                         const serial::OpenSettings& settings,
                                                         serial::OpenError& error);

}  // namespace qrix::qt
