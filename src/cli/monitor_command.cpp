#include "cli/monitor_command.h"

#include <stdio_ext.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>

#include "cli/answer_json.h"
#include "cli/broker_events.h"
#include "cli/commands.h"
#include "cli/interrupts.h"
#include "cli/sensor_session.h"
#include "mqtt/mqtt_credentials.h"
#include "mqtt/mqtt_publisher.h"
#include "mqtt/mqtt_url.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "services/run_exchange.h"

namespace qrix::cli {

namespace {

// What the publisher still holds at the end is given this long to reach the broker.
constexpr std::chrono::milliseconds kDrainTime{3000};

// Takes every RUN answer: prints it as a line on stdout, or publishes it. Between answers it
// acts on the publisher's events; a fatal one (or stdout failing) ends the run.
class MonitorConsumer : public RunConsumer {
 public:
  MonitorConsumer(Program& p, std::uint16_t samples, mqtt::MqttPublisher* publisher,
                  BrokerEvents& events)
      : p_(p), samples_(samples), publisher_(publisher), events_(events) {}

  bool take(const RunValues& values) override {
    if (!handleEvents()) {
      return false;
    }
    std::string line = answerJsonLine(values, count_ + 1, std::chrono::system_clock::now());
    if (publisher_) {
      publisher_->publish(std::move(line));
    } else {
      line += '\n';
      errno = 0;
      if (std::fputs(line.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        outputError_ = errno != 0 ? std::strerror(errno) : "a write failed";
        return false;
      }
    }
    ++count_;
    return !enough();
  }

  // Acts on what the publisher told since the last call; false after a fatal event.
  bool handleEvents() {
    for (const BrokerEvent& e : events_.take()) {
      switch (e.event) {
        case mqtt::MqttEvent::Connected:
          std::fprintf(stderr, "qrix-cli: %s\n", e.text.c_str());
          break;
        case mqtt::MqttEvent::Lost:
          std::fprintf(stderr, "qrix-cli: broker lost: %s\n", e.text.c_str());
          p_.logLine("MQTT broker lost: " + e.text);
          break;
        case mqtt::MqttEvent::Back:
          std::fprintf(stderr, "qrix-cli: broker back: %s\n", e.text.c_str());
          p_.logLine("MQTT broker back: " + e.text);
          break;
        case mqtt::MqttEvent::Fatal:
          if (!fatal_) {
            fatal_ = e.text;
            p_.logLine("MQTT broker refused: " + e.text);
          }
          break;
      }
    }
    return !fatal_;
  }

  bool enough() const { return samples_ != 0 && count_ >= samples_; }
  std::uint64_t count() const { return count_; }
  const std::optional<std::string>& fatal() const { return fatal_; }
  const std::optional<std::string>& outputError() const { return outputError_; }

 private:
  Program& p_;
  std::uint16_t samples_;
  mqtt::MqttPublisher* publisher_;
  BrokerEvents& events_;
  std::uint64_t count_ = 0;
  std::optional<std::string> fatal_;
  std::optional<std::string> outputError_;
};

bool readable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in && in.peek() != std::ifstream::traits_type::eof();
}

// The RUN exchange with the line held, until the consumer has enough, a signal, a failed line
// or a fatal broker event.
void runAnswers(SensorSession& s, MonitorConsumer& consumer) {
  Program& p = s.program();
  ProgramState& st = p.st;
  // A signal ends the run after the answer in hand; the publisher is drained afterwards.
  s.runtime().onInterrupt([&p](int) { p.st.stop_flag = 1; });
  ExclusiveLineClaim claim(p, LineUser::Run);
  if (!claim) {
    return;
  }
  st.stop_flag = 0;
  st.graph_flag = 0;
  sendRunRequest(p);
  const double firstRequest = p.rt.Timer();
  const RunStream::Listening listening = p.run.listen(consumer);
  // The events are looked at on every pass too, so that a refusal ends a run at once.
  runExchange(p, {TIMEOUT, firstRequest, [&] { return !consumer.handleEvents(); }});
  st.rx_flag = 0;
  st.graph_flag = 0;
  discardQueues(p, Discard::InputFirst);
}

}  // namespace

std::string checkMonitorSetup(const CliOptions& o) {
  if (o.mqtt.empty()) {
    return {};
  }
  if (!o.caFile.empty() && !readable(o.caFile)) {
    return "cannot read the CA file " + o.caFile;
  }
  std::optional<mqtt::MqttCredentials> credentials;
  std::string reason;
  if (!mqtt::loadCredentials(o.credentials, credentials, reason)) {
    return reason;
  }
  return {};
}

int runMonitor(SensorSession& s, const CliOptions& o) {
  Program& p = s.program();
  BrokerEvents events;
  std::unique_ptr<mqtt::MqttPublisher> publisher;
  if (!o.mqtt.empty()) {
    mqtt::MqttPublisherOptions options;
    std::string reason;
    if (!mqtt::parseMqttUrl(o.mqtt, options.url, reason) ||
        !mqtt::loadCredentials(o.credentials, options.credentials, reason)) {
      std::fprintf(stderr, "qrix-cli: %s\n", reason.c_str());
      return kExitUsage;
    }
    options.caFile = o.caFile;
    publisher = std::make_unique<mqtt::MqttPublisher>(
        options, [&events](mqtt::MqttEvent e, const std::string& text) { events.put(e, text); });
    if (!publisher->start(reason)) {
      std::fprintf(stderr, "qrix-cli: %s\n", reason.c_str());
      return kExitFailed;
    }
  } else {
    // A reader that went away is a write error to report, not a signal that kills the run.
    std::signal(SIGPIPE, SIG_IGN);
  }
  MonitorConsumer consumer(p, o.samples, publisher.get(), events);
  runAnswers(s, consumer);
  const bool delivered = !publisher || publisher->finish(kDrainTime);
  // What came while the run ended (a loss, the refusal) is told too.
  consumer.handleEvents();
  if (o.stats) {
    if (publisher) {
      const mqtt::MqttCounters c = publisher->counters();
      std::fprintf(stderr, "qrix-cli: published %llu, queued %llu, dropped %llu\n",
                   static_cast<unsigned long long>(c.published),
                   static_cast<unsigned long long>(c.queued),
                   static_cast<unsigned long long>(c.dropped));
    } else {
      std::fprintf(stderr, "qrix-cli: printed %llu\n",
                   static_cast<unsigned long long>(consumer.count()));
    }
  }
  if (consumer.fatal()) {
    // The text names the broker and why it refused us.
    std::fprintf(stderr, "qrix-cli: %s; RUN ended after %llu answers\n", consumer.fatal()->c_str(),
                 static_cast<unsigned long long>(consumer.count()));
    return kExitFailed;
  }
  if (consumer.outputError()) {
    std::fprintf(stderr, "qrix-cli: cannot write the output after %llu answers: %s\n",
                 static_cast<unsigned long long>(consumer.count()),
                 consumer.outputError()->c_str());
    // What could not be written is dropped, so that the end does not report it again.
    __fpurge(stdout);
    std::clearerr(stdout);
    return kExitFailed;
  }
  if (!delivered) {
    const mqtt::MqttCounters c = publisher->counters();
    std::fprintf(stderr,
                 "qrix-cli: %llu of %llu answers did not reach the broker (%llu still queued, "
                 "%llu dropped)\n",
                 static_cast<unsigned long long>(c.queued + c.dropped),
                 static_cast<unsigned long long>(consumer.count()),
                 static_cast<unsigned long long>(c.queued),
                 static_cast<unsigned long long>(c.dropped));
  }
  if (const int signal = pendingInterrupt(); signal != 0) {
    std::fprintf(stderr, "qrix-cli: ended by %s after %llu answers\n", signalName(signal),
                 static_cast<unsigned long long>(consumer.count()));
    return interruptedStatus(signal);
  }
  if (!consumer.enough()) {
    std::fprintf(stderr, "qrix-cli: RUN ended after %llu answers: %s\n",
                 static_cast<unsigned long long>(consumer.count()), s.statusLine().c_str());
    return kExitFailed;
  }
  return delivered ? kExitOk : kExitFailed;
}

}  // namespace qrix::cli
