// The MQTT publisher at the line's rate of 27 values a second, through a mosquitto broker on
// this machine that the benchmark starts: the time from publish() to the subscriber's receipt
// (median and p99, ms), the messages lost, and the messages delivered per second as a fraction
// of the 27 intended (target >= 0.99). --seconds N sets the run's length (default 120).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "mosquitto_broker.h"
#include "mqtt/mqtt_publisher.h"
#include "mqtt_bench.h"
#include "mqtt_subscriber.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 27;
constexpr const char* kTopic = "bench/line1/values";

}  // namespace

int main(int argc, char** argv) {
  const std::optional<int> given = qrix::bench::secondsArgument(argc, argv, "mqtt publisher");
  if (!given) {
    return 2;
  }
  const int seconds = *given;
  qrix::testing::MosquittoBroker broker;
  std::optional<qrix::testing::MqttSubscriber> subscriber;
  if (!qrix::bench::startBroker(broker, subscriber, kTopic, "mqtt publisher")) {
    return 1;
  }
  qrix::mqtt::MqttPublisherOptions options;
  options.url = {false, "127.0.0.1", broker.port(), kTopic};
  qrix::mqtt::MqttPublisher publisher(options, {});
  std::string reason;
  if (!publisher.start(reason)) {
    std::fprintf(stderr, "mqtt publisher: %s\n", reason.c_str());
    return 1;
  }

  // Each payload is its number; the time it was given to publish() is kept here.
  const int count = seconds * kRate;
  std::vector<Clock::time_point> sent(static_cast<std::size_t>(count));
  const Clock::time_point t0 = Clock::now();
  for (int n = 0; n < count; ++n) {
    std::this_thread::sleep_until(t0 + std::chrono::microseconds(n * 1000000LL / kRate));
    sent[static_cast<std::size_t>(n)] = Clock::now();
    publisher.publish(std::to_string(n));
  }
  const bool delivered = publisher.finish(std::chrono::seconds(10));
  subscriber->waitFor(
      [count](const std::vector<qrix::testing::Received>& r) {
        return static_cast<int>(r.size()) >= count + 2;  // with "online" and "offline"
      },
      5);

  std::map<int, Clock::time_point> firstReceipt;
  for (const qrix::testing::Received& r : subscriber->received()) {
    if (r.topic != kTopic) {
      continue;
    }
    firstReceipt.emplace(std::atoi(r.payload.c_str()), r.at);
  }
  std::vector<double> latencyMs;
  Clock::time_point last = t0;
  for (const auto& [n, at] : firstReceipt) {
    if (n < 0 || n >= count) {
      continue;
    }
    latencyMs.push_back(
        std::chrono::duration<double, std::milli>(at - sent[static_cast<std::size_t>(n)]).count());
    last = std::max(last, at);
  }
  const int received = static_cast<int>(latencyMs.size());
  // The last message stands for one period of the line as every other does.
  const double elapsed = std::chrono::duration<double>(last - t0).count() + 1.0 / kRate;
  const double rate = elapsed > 0 ? received / elapsed : 0;
  std::printf(
      "mqtt publisher: %d messages at %d/s for %d s; publish to receipt median %.2f ms, p99 %.2f "
      "ms; lost %d; delivered %.2f/s = ratio %.3f of %d/s (target >= 0.99); finish %s\n",
      count, kRate, seconds, qrix::bench::percentile(latencyMs, 0.5),
      qrix::bench::percentile(latencyMs, 0.99), count - received, rate, rate / kRate, kRate,
      delivered ? "delivered all" : "FAILED");
  return delivered && received == count ? 0 : 1;
}
