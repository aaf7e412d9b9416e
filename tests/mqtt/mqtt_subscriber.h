#pragma once
// A subscriber on libmosquitto's own thread for tests and benchmarks: it records what arrives on
// a topic and its status topic, and reconnects by itself when the broker comes back.

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct mosquitto;

namespace qrix::testing {

struct Received {
  std::string topic;
  std::string payload;
  bool retained = false;
  std::chrono::steady_clock::time_point at;
};

struct SubscriberSettings {
  std::uint16_t port = 0;
  std::string topic;
  std::string caFile;  // TLS when given
  std::string user, password;
  // Non-empty: a session the broker keeps while the subscriber is away (with persistence,
  // also across a restart of the broker).
  std::string sessionId;
};

class MqttSubscriber {
 public:
  explicit MqttSubscriber(SubscriberSettings settings);
  ~MqttSubscriber();
  MqttSubscriber(const MqttSubscriber&) = delete;
  MqttSubscriber& operator=(const MqttSubscriber&) = delete;

  // Waits up to `seconds` until the broker confirmed the subscription.
  bool waitSubscribed(double seconds);
  // Waits up to `seconds` until `done` accepts what has arrived; true when it did.
  bool waitFor(const std::function<bool(const std::vector<Received>&)>& done, double seconds);
  std::vector<Received> received() const;
  // The payloads on the topic itself, in the order they came.
  std::vector<std::string> messages() const;
  // What the status topic said last; empty when nothing came on it.
  std::string lastStatus() const;

 private:
  void arrived(Received message);
  SubscriberSettings settings_;
  mosquitto* mosq_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<Received> received_;
  int subscriptions_ = 0;
};

}  // namespace qrix::testing
