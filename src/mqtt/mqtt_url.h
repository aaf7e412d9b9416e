#pragma once
// Where live values go: mqtt://HOST[:PORT]/TOPIC, or mqtts://... for TLS. The topic is the rest
// of the text after the host, taken as it is (no percent decoding), and names one topic: a
// filter (# or +) cannot be published to.

#include <cstdint>
#include <string>
#include <string_view>

namespace qrix::mqtt {

struct MqttUrl {
  bool tls = false;
  std::string host;
  std::uint16_t port = 0;
  std::string topic;
};

inline constexpr std::uint16_t kMqttPort = 1883;
inline constexpr std::uint16_t kMqttsPort = 8883;

// False, with what is wrong in words, for anything but the two forms above: another scheme, an
// empty host, a port that is not a number from 1 to 65535, no topic, a wildcard in the topic,
// or a user name in the address (credentials never travel on a command line).
bool parseMqttUrl(std::string_view text, MqttUrl& url, std::string& reason);

// "mqtts://host:8883/topic": the address as the messages name it.
std::string describe(const MqttUrl& url);

}  // namespace qrix::mqtt
