#pragma once
// The publisher's events on their way to the main thread: the publisher's thread puts them in,
// the RUN loop takes them out between two answers and acts on them there, where the program
// may be touched.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "mqtt/mqtt_publisher.h"

namespace qrix::cli {

struct BrokerEvent {
  mqtt::MqttEvent event;
  std::string text;
};

class BrokerEvents {
 public:
  // Thread-safe; returns at once.
  void put(mqtt::MqttEvent event, const std::string& text);
  // What came since the last call, in order.
  std::vector<BrokerEvent> take();

 private:
  std::mutex mutex_;
  std::deque<BrokerEvent> events_;
};

}  // namespace qrix::cli
