#include "mqtt/mqtt_url.h"

#include <charconv>

namespace qrix::mqtt {

namespace {

// MQTT limits a topic to what a 16-bit length can say.
constexpr std::size_t kMaxTopicBytes = 65535;

bool parsePort(std::string_view digits, std::uint16_t& port) {
  if (digits.empty() || digits.size() > 5) {
    return false;
  }
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) {
    return false;
  }
  if (value < 1 || value > 65535) {
    return false;
  }
  port = static_cast<std::uint16_t>(value);
  return true;
}

bool fail(std::string& reason, std::string text) {
  reason = std::move(text);
  return false;
}

}  // namespace

bool parseMqttUrl(std::string_view text, MqttUrl& url, std::string& reason) {
  MqttUrl parsed;
  constexpr std::string_view kPlain = "mqtt://", kTls = "mqtts://";
  if (text.starts_with(kPlain)) {
    text.remove_prefix(kPlain.size());
    parsed.port = kMqttPort;
  } else if (text.starts_with(kTls)) {
    text.remove_prefix(kTls.size());
    parsed.tls = true;
    parsed.port = kMqttsPort;
  } else {
    return fail(reason, "the broker's address must start with mqtt:// or mqtts://");
  }

  const std::size_t slash = text.find('/');
  const std::string_view authority = text.substr(0, slash);
  if (authority.find('@') != std::string_view::npos) {
    return fail(reason,
                "the address must not hold a user name or password; give them in "
                "QRIX_MQTT_USER and QRIX_MQTT_PASSWORD or in a credentials file");
  }

  std::string_view host = authority, port;
  if (authority.starts_with('[')) {
    // An IPv6 address in brackets, as in http URLs.
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) {
      return fail(reason, "the IPv6 address lacks its ']'");
    }
    host = authority.substr(1, close - 1);
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') {
        return fail(reason, "text after the IPv6 address's ']'");
      }
      port = after.substr(1);
      if (port.empty()) {
        return fail(reason, "the port after ':' is missing");
      }
    }
  } else if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
    if (port.empty()) {
      return fail(reason, "the port after ':' is missing");
    }
  }
  if (host.empty()) {
    return fail(reason, "the broker's host name is missing");
  }
  for (const char c : host) {
    if (static_cast<unsigned char>(c) <= ' ') {
      return fail(reason, "the broker's host name holds a space or control character");
    }
  }
  if (!port.empty() && !parsePort(port, parsed.port)) {
    return fail(reason, "the port '" + std::string(port) + "' is not a number from 1 to 65535");
  }

  if (slash == std::string_view::npos || slash + 1 == text.size()) {
    return fail(reason, "the topic is missing: mqtt://HOST[:PORT]/TOPIC");
  }
  const std::string_view topic = text.substr(slash + 1);
  if (topic.find_first_of("#+") != std::string_view::npos) {
    return fail(reason, "the topic '" + std::string(topic) +
                            "' holds a wildcard (# or +): messages go to one topic");
  }
  if (topic.find('\0') != std::string_view::npos) {
    return fail(reason, "the topic holds a NUL character");
  }
  if (topic.size() > kMaxTopicBytes) {
    return fail(reason, "the topic is longer than 65535 bytes");
  }

  parsed.host = host;
  parsed.topic = topic;
  url = std::move(parsed);
  return true;
}

std::string describe(const MqttUrl& url) {
  const bool ipv6 = url.host.find(':') != std::string::npos;
  return std::string(url.tls ? "mqtts://" : "mqtt://") + (ipv6 ? "[" : "") + url.host +
         (ipv6 ? "]" : "") + ":" + std::to_string(url.port) + "/" + url.topic;
}

}  // namespace qrix::mqtt
