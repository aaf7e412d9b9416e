#pragma once
// What the two MQTT benchmarks share: their --seconds argument, a broker they start on this
// machine with a subscriber to the topic, and the percentiles they print.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "mosquitto_broker.h"
#include "mqtt_subscriber.h"

namespace qrix::bench {

// --seconds N (default 120); none, after the usage on stderr, for anything else.
inline std::optional<int> secondsArgument(int argc, char** argv, const char* label) {
  int seconds = 120;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N]\n", argv[0]);
      return std::nullopt;
    }
  }
  if (seconds < 1) {
    std::fprintf(stderr, "%s: --seconds must be 1 or more\n", label);
    return std::nullopt;
  }
  return seconds;
}

// Starts the broker and subscribes to `topic`; false, after saying why, when either failed.
inline bool startBroker(testing::MosquittoBroker& broker,
                        std::optional<testing::MqttSubscriber>& subscriber, const char* topic,
                        const char* label) {
  std::string reason;
  if (!broker.start(reason)) {
    std::fprintf(stderr, "%s: %s\n", label, reason.c_str());
    return false;
  }
  subscriber.emplace(testing::SubscriberSettings{broker.port(), topic, "", "", "", ""});
  if (!subscriber->waitSubscribed(5)) {
    std::fprintf(stderr, "%s: the subscriber did not get its subscription\n", label);
    return false;
  }
  return true;
}

// The value below which `fraction` of the values lie (0 without values).
inline double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
  return values[index];
}

}  // namespace qrix::bench
