#include "sim_session.h"

#include <cstdio>

#include "program/panel_table.h"
#include "program/transport.h"
#include "runtime/qt/qt_serial_device.h"
#include "shell/startup.h"

namespace qrix::bench {

namespace {
std::vector<std::string> withReaction(std::vector<std::string> args) {
  args.insert(args.begin(), {"--reaction", "0"});
  return args;
}
}  // namespace

SimSession::SimSession(const std::string& name, Notification notification,
                       std::vector<std::string> simArgs)
    : sim_(QRIX_SENSOR_SIM_PATH, withReaction(std::move(simArgs))) {
  const std::string device = sim_.readStdoutLine(5);
  if (device.empty()) {
    std::printf("%s: the simulator did not start\n", name.c_str());
    return;
  }
  rt_ = std::make_unique<QtRuntime>([](int id) { return panelTemplate(id); });
  const int port = rt_->serial().addPort(device, device);
  rt_->serial().setOpener(qt::openQtSerialDevice);
  program_ = std::make_unique<Program>(*rt_);
  StartOptions options;
  options.port = port;
  options.portSetup = [notification](Program& p) {
    p.serial().OpenComConfig(p.st.com, "", 19200, 0, 8, 1, 4096, 4096);
    if (notification) {
      notification(p);
    } else {
      installReceiveNotification(p, p.st.com);
    }
  };
  ok_ = StartUp(*program_, options) == 0;
  if (!ok_) {
    std::printf("%s: the scope did not start\n", name.c_str());
  }
}

SimSession::~SimSession() {
  if (ok_) {
    ShutDown(*program_);
  }
}

}  // namespace qrix::bench
