#include "runtime/qt/qt_serial_device.h"

#include <QMetaEnum>
#include <QSerialPort>
#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qrix::qt {

namespace {

QSerialPort::Parity parityOf(int parity) {
  switch (parity) {
    case 1: return QSerialPort::OddParity;
    case 2: return QSerialPort::EvenParity;
    case 3: return QSerialPort::MarkParity;
    case 4: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
  }
}

int openErrorCode(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError: return serial::kErrNoSerialPort;
    case QSerialPort::PermissionError:  // also what a lock held by another process gives
    case QSerialPort::OpenError: return serial::kErrCannotOpen;
    default: return serial::kErrUnknownSystem;
  }
}

// Errors that leave the line usable: a poll that found nothing, an operation the driver
// does not offer (a pseudo terminal flushing, say).
bool isFatal(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
    case QSerialPort::UnsupportedOperationError:
    case QSerialPort::NotOpenError: return false;
    default: return true;
  }
}

#ifndef _WIN32
// Whether a device that would not open is no serial port at all: a regular file, a folder,
// or a character device that is no terminal (/dev/null). Asked only after a failed open, so
// that a working port is never opened twice.
bool isNoSerialPort(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    return false;
  }
  if (!S_ISCHR(st.st_mode)) {
    return true;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool terminal = isatty(fd) == 1;
  ::close(fd);
  return !terminal;
}

// The device a path names, symlinks followed: Qt's lock file is named after the port, so two
// names of one device must become one before it is opened.
std::string deviceOf(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (!real) {
    return path;
  }
  std::string device = real;
  std::free(real);
  return device;
}
#else
bool isNoSerialPort(const std::string&) {
  return false;
}
std::string deviceOf(const std::string& path) {
  return path;
}
#endif

}  // namespace

std::unique_ptr<QtSerialDevice> QtSerialDevice::open(const std::string& path,
                                                     const serial::OpenSettings& settings,
                                                     serial::OpenError& error) {
  auto port = std::make_unique<QSerialPort>();
  port->setPortName(QString::fromStdString(deviceOf(path)));
  const bool configured =
      port->setBaudRate(static_cast<qint32>(settings.baud)) &&
      port->setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
      port->setParity(parityOf(settings.parity)) &&
      port->setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
      port->setFlowControl(QSerialPort::NoFlowControl);
  if (!configured || !port->open(QIODevice::ReadWrite)) {
    error.code = configured ? openErrorCode(port->error()) : serial::kErrUnknownSystem;
    error.reason = port->errorString().toStdString();
    error.notSerialPort = isNoSerialPort(path);
    if (error.notSerialPort) {
      error.reason = "not a serial port";
    } else if (configured && port->error() == QSerialPort::PermissionError) {
      error.reason +=
          " (the port is in use, or the user may not open it: on Linux the user must be in the "
          "'dialout' group)";
    }
    std::fprintf(stderr, "serial: cannot open %s: %s\n", path.c_str(), error.reason.c_str());
    return nullptr;
  }
  error.code = 0;
  return std::make_unique<QtSerialDevice>(Opened{}, std::move(port));
}

QtSerialDevice::QtSerialDevice(Opened, std::unique_ptr<QSerialPort> port) : port_(std::move(port)) {
  QObject::connect(
      port_.get(), &QSerialPort::errorOccurred, port_.get(),
      [this](QSerialPort::SerialPortError error) {
        if (!isFatal(error)) {
          return;
        }
        const char* kind = QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error);
        // A device that went away leaves Qt's error text with whatever the
        // system said last, which misleads: say what happened.
        const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                          error == QSerialPort::WriteError;
        fail(lost ? QString("serial port lost (%1)").arg(kind)
                  : QString("%1, %2").arg(kind ? kind : "error", port_->errorString()));
      });
}

QtSerialDevice::~QtSerialDevice() {
  if (port_) {
    port_->disconnect();
  }
}

void QtSerialDevice::fail(const QString& reason) {
  if (failed_) {
    return;
  }
  failed_ = true;
  std::fprintf(stderr, "serial: %s: %s; the line is closed\n",
               port_->portName().toLocal8Bit().constData(), reason.toLocal8Bit().constData());
  // Closing inside Qt's own read or write, which reported the error, would pull its buffers
  // away under it: close from the event loop or at the next call here, whichever comes first.
  QMetaObject::invokeMethod(
      port_.get(), [port = port_.get()] { port->close(); }, Qt::QueuedConnection);
}

bool QtSerialDevice::usable() {
  if (failed_) {
    if (port_->isOpen()) {
      port_->close();
    }
    return false;
  }
  return port_->isOpen();
}

void QtSerialDevice::poll() {
  if (polling_ || !usable()) {
    return;
  }
  polling_ = true;
  // A zero wait reads what the driver holds now; it reports a time-out when there is nothing.
  port_->waitForReadyRead(0);
  polling_ = false;
}

std::size_t QtSerialDevice::write(const std::uint8_t* data, std::size_t n) {
  if (!usable()) {
    return 0;
  }
  qint64 taken = port_->write(reinterpret_cast<const char*>(data), static_cast<qint64>(n));
  // Hand the bytes to the driver now: the program may wait for the answer without pumping.
  if (taken > 0) {
    port_->flush();
  }
  if (!usable() || taken < 0) {
    return 0;
  }
  return static_cast<std::size_t>(taken);
}

std::size_t QtSerialDevice::read(std::uint8_t* data, std::size_t n) {
  if (n == 0 || !usable()) {
    return 0;
  }
  if (port_->bytesAvailable() < static_cast<qint64>(n)) {
    poll();
  }
  if (!usable()) {
    return 0;
  }
  qint64 got = port_->read(reinterpret_cast<char*>(data), static_cast<qint64>(n));
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::size_t QtSerialDevice::inQueueLength() {
  poll();
  if (!usable()) {
    return 0;
  }
  return static_cast<std::size_t>(port_->bytesAvailable());
}

std::size_t QtSerialDevice::receivedLength() {
  // The event loop has moved what the driver held into Qt's buffer.
  if (!usable()) {
    return 0;
  }
  return static_cast<std::size_t>(port_->bytesAvailable());
}

void QtSerialDevice::flushInput() {
  if (!usable()) {
    return;
  }
  // Qt's buffer and the driver's, then whatever arrived in between.
  port_->clear(QSerialPort::Input);
  poll();
  if (usable()) {
    port_->skip(port_->bytesAvailable());
  }
}

void QtSerialDevice::flushOutput() {
  if (usable()) {
    port_->clear(QSerialPort::Output);
  }
}

std::unique_ptr<serial::SerialDevice> openQtSerialDevice(const serial::PortEntry& entry,
                                                         const serial::OpenSettings& settings,
                                                         serial::OpenError& error) {
  return QtSerialDevice::open(entry.device, settings, error);
}

}  // namespace qrix::qt
