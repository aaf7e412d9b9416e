#pragma once
// Publishes live values to an MQTT broker without ever making its caller wait for the broker.
//
// publish() puts a message into a bounded queue and returns; the publisher's own thread sends
// it with QoS 1 to TOPIC and removes it only once the broker acknowledged it. While the broker
// is away (not started yet, restarted, unreachable) the messages wait and go out in order when
// it is back. A full queue drops its oldest message waiting, and counts it.
//
// TOPIC/status holds the publisher's state, retained: "online" is published on each
// connection, "offline" on a clean finish(), and the broker publishes "offline" itself (the
// last will) when the connection breaks.
//
// Each connection is a new clean session on a new libmosquitto handle, and what the old one had
// sent but not seen acknowledged is sent again from the queue, in order. libmosquitto keeps no
// message across a reconnect, so nothing is re-sent by both it and the queue: a message arrives
// once, except one whose acknowledgement was lost with the connection, which may arrive twice
// (the one duplicate QoS 1 allows).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "mqtt/mqtt_credentials.h"
#include "mqtt/mqtt_url.h"

namespace qrix::mqtt {

struct MqttPublisherOptions {
  MqttUrl url;
  std::optional<MqttCredentials> credentials;
  // mqtts: the CA certificates (PEM) that signed the broker's; empty: the system's CAs.
  std::string caFile;
  // Messages waiting for the broker: about an hour of the line's 27 answers a second.
  std::size_t queueLimit = 100000;
  // Messages sent and not yet acknowledged at one time.
  int inFlightLimit = 20;
  // Empty: libmosquitto makes a random one, so that two publishers never push each other out.
  std::string clientId;
  int keepAliveSeconds = 30;
  // A connection without the broker's answer after this long is given up and tried again.
  std::chrono::milliseconds connectTimeout{10000};
  // The pause before the next try after a failed one doubles from the first to the last.
  std::chrono::milliseconds retryFirst{250};
  std::chrono::milliseconds retryMax{2000};
};

enum class MqttEvent {
  Connected,  // the first connection
  Lost,       // the broker went away, or could not be reached at the start; the text says why
  Back,       // connected again after Lost
  Fatal,      // the broker refused us for good (wrong password, not authorised, TLS): the
              // publisher stops trying; the text says why for the user
};

struct MqttCounters {
  std::uint64_t published = 0;  // acknowledged by the broker
  std::uint64_t queued = 0;     // waiting now (also those sent and not yet acknowledged)
  std::uint64_t dropped = 0;    // pushed out of a full queue, or given after finish()
};

// Called on the publisher's own thread, never while it holds its lock or inside libmosquitto:
// the handler may call publish() and counters(), but not finish() or the destructor, which
// wait for that thread. It should return soon: the thread sends nothing meanwhile.
using MqttEventHandler = std::function<void(MqttEvent event, const std::string& text)>;

class MqttPublisher {
 public:
  MqttPublisher(MqttPublisherOptions options, MqttEventHandler onEvent);
  // finish() with no time to wait, if it was not called.
  ~MqttPublisher();
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;

  // Checks the options (a readable CA file, ...) and starts the thread, which connects.
  // False, with the reason, when it cannot start; the broker being away is no such reason.
  bool start(std::string& reason);

  // Queues one message and returns at once. Thread-safe.
  void publish(std::string payload);

  MqttCounters counters() const;

  // Waits up to `timeout` for the queue to empty, publishes "offline" (waiting for its
  // acknowledgement up to the rest of the timeout, at least half a second), disconnects and
  // ends the thread. True when every message given to publish() was acknowledged: none waits,
  // none was dropped, and no fatal error came. Call once; later calls return the same.
  bool finish(std::chrono::milliseconds timeout);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace qrix::mqtt
