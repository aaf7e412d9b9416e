// The publisher against a real mosquitto broker: every message arrives once and in order with
// the publisher's status beside it, also when the broker is away at the start or for a while;
// a full queue drops its oldest; TLS; and a refusal that no retry can change ends it at once.

#include "mqtt/mqtt_publisher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "mosquitto_broker.h"
#include "mqtt_subscriber.h"

namespace qrix::mqtt {
namespace {

using std::chrono::milliseconds;
using testing::BrokerSettings;
using testing::MosquittoBroker;
using testing::MqttSubscriber;
using testing::Received;
using testing::SubscriberSettings;

constexpr const char* kTopic = "plant/line1/values";

// The events as they came, from the publisher's thread.
class EventLog {
 public:
  MqttEventHandler handler() {
    return [this](MqttEvent event, const std::string& text) {
      std::lock_guard lock(mutex_);
      events_.emplace_back(event, text);
    };
  }
  std::vector<MqttEvent> kinds() const {
    std::lock_guard lock(mutex_);
    std::vector<MqttEvent> kinds;
    for (const auto& e : events_) {
      kinds.push_back(e.first);
    }
    return kinds;
  }
  // The text of the first event of this kind; empty when none came.
  std::string textOf(MqttEvent kind) const {
    std::lock_guard lock(mutex_);
    for (const auto& e : events_) {
      if (e.first == kind) {
        return e.second;
      }
    }
    return "";
  }
  bool waitFor(MqttEvent kind, double seconds) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
      {
        std::lock_guard lock(mutex_);
        for (const auto& e : events_) {
          if (e.first == kind) {
            return true;
          }
        }
      }
      std::this_thread::sleep_for(milliseconds(5));
    }
    return false;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<MqttEvent, std::string>> events_;
};

MqttPublisherOptions optionsFor(const MosquittoBroker& broker, bool tls = false) {
  MqttPublisherOptions o;
  o.url = MqttUrl{tls, "127.0.0.1", broker.port(), kTopic};
  o.retryFirst = milliseconds(100);
  o.retryMax = milliseconds(400);
  return o;
}

std::string value(int i) {
  return "v" + std::to_string(i) + "\t" + std::to_string(i * 7 % 1000);
}

std::vector<std::string> values(int first, int last) {
  std::vector<std::string> all;
  for (int i = first; i <= last; ++i) {
    all.push_back(value(i));
  }
  return all;
}

auto countOnTopic(std::size_t n) {
  return [n](const std::vector<Received>& r) {
    std::size_t count = 0;
    for (const Received& m : r) {
      count += m.topic == kTopic;
    }
    return count >= n;
  };
}

// The first arrival of each payload, in order, and how many came again.
std::pair<std::vector<std::string>, int> firstArrivals(const std::vector<std::string>& messages) {
  std::vector<std::string> first;
  std::map<std::string, int> seen;
  int repeats = 0;
  for (const std::string& m : messages) {
    if (seen[m]++ == 0) {
      first.push_back(m);
    } else {
      ++repeats;
    }
  }
  return {first, repeats};
}

// What a new subscriber is given for the status topic: the retained message.
Received retainedStatus(const MosquittoBroker& broker, const std::string& caFile = "") {
  MqttSubscriber late(SubscriberSettings{broker.port(), kTopic, caFile, "", "", ""});
  late.waitFor([](const std::vector<Received>& r) { return !r.empty(); }, 3);
  const std::vector<Received> r = late.received();
  return r.empty() ? Received{} : r.front();
}

void startOrFail(MosquittoBroker& broker) {
  std::string reason;
  ASSERT_TRUE(broker.start(reason)) << reason;
}

TEST(MqttPublisher, DeliversEveryMessageOnceInOrderBetweenOnlineAndOffline) {
  MosquittoBroker broker;
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(SubscriberSettings{broker.port(), kTopic, "", "", "", ""});
  ASSERT_TRUE(subscriber.waitSubscribed(3));

  EventLog events;
  MqttPublisherOptions options = optionsFor(broker);
  options.clientId = "qrix-test-publisher";
  MqttPublisher publisher(options, events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  ASSERT_TRUE(events.waitFor(MqttEvent::Connected, 3));
  const Received online = retainedStatus(broker);
  EXPECT_EQ(online.topic, std::string(kTopic) + "/status");
  EXPECT_EQ(online.payload, "online");
  EXPECT_TRUE(online.retained);

  for (const std::string& v : values(1, 500)) {
    publisher.publish(v);
  }
  EXPECT_TRUE(publisher.finish(milliseconds(5000)));
  const MqttCounters c = publisher.counters();
  EXPECT_EQ(c.published, 500u);
  EXPECT_EQ(c.queued, 0u);
  EXPECT_EQ(c.dropped, 0u);

  ASSERT_TRUE(subscriber.waitFor(countOnTopic(500), 5));
  subscriber.waitFor(
      [](const std::vector<Received>& r) { return !r.empty() && r.back().payload == "offline"; },
      3);
  EXPECT_EQ(subscriber.messages(), values(1, 500));
  EXPECT_EQ(subscriber.lastStatus(), "offline");
  const Received offline = retainedStatus(broker);
  EXPECT_EQ(offline.payload, "offline");
  EXPECT_TRUE(offline.retained);
  EXPECT_EQ(events.kinds(), std::vector<MqttEvent>{MqttEvent::Connected});
  // A clean end, not a broken connection whose last will said "offline".
  const std::string log = broker.log();
  EXPECT_NE(log.find("Client qrix-test-publisher disconnected."), std::string::npos) << log;
  EXPECT_EQ(log.find("Client qrix-test-publisher closed its connection"), std::string::npos) << log;
}

// The broker's sessions survive its restart, so that the subscriber misses nothing while it
// reconnects: only the publisher's own queue is under test.
BrokerSettings persistent() {
  BrokerSettings s;
  s.persistence = true;
  return s;
}

SubscriberSettings sessionOf(const MosquittoBroker& broker) {
  return SubscriberSettings{broker.port(), kTopic, "", "", "", "qrix-test-subscriber"};
}

TEST(MqttPublisher, KeepsPublishingAtTheLineRateThroughABrokerRestart) {
  MosquittoBroker broker(persistent());
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(sessionOf(broker));
  ASSERT_TRUE(subscriber.waitSubscribed(3));

  EventLog events;
  MqttPublisher publisher(optionsFor(broker), events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;

  // 27 a second: 2 s with the broker, 5 s without, 1.5 s with it again.
  constexpr int kBefore = 54, kOutage = 135, kAfter = 40;
  const auto t0 = std::chrono::steady_clock::now();
  int n = 0;
  for (; n < kBefore + kOutage + kAfter; ++n) {
    if (n == kBefore) {
      broker.stop();
    }
    if (n == kBefore + kOutage) {
      EXPECT_GE(publisher.counters().queued, 100u);
      ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
    }
    std::this_thread::sleep_until(t0 + milliseconds(n * 1000 / 27));
    publisher.publish(value(n + 1));
  }
  EXPECT_TRUE(publisher.finish(milliseconds(8000)));
  EXPECT_EQ(publisher.counters().published, static_cast<std::uint64_t>(n));
  EXPECT_EQ(publisher.counters().dropped, 0u);

  ASSERT_TRUE(subscriber.waitFor(countOnTopic(n), 8));
  const auto [first, repeats] = firstArrivals(subscriber.messages());
  EXPECT_EQ(first, values(1, n));
  // Only those in flight when the broker went can come twice.
  EXPECT_LE(repeats, 20);
  EXPECT_EQ(events.kinds(),
            (std::vector<MqttEvent>{MqttEvent::Connected, MqttEvent::Lost, MqttEvent::Back}));
  EXPECT_NE(events.textOf(MqttEvent::Lost).find("lost the broker at mqtt://127.0.0.1:"),
            std::string::npos)
      << events.textOf(MqttEvent::Lost);
}

// The subscriber's session is made while the broker runs; then the broker stops.
void subscribeAndStop(MosquittoBroker& broker) {
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  {
    MqttSubscriber subscriber(sessionOf(broker));
    ASSERT_TRUE(subscriber.waitSubscribed(3));
  }
  broker.stop();
}

TEST(MqttPublisher, SendsAgainWhatTheBrokerDidNotAcknowledgeBeforeItWent) {
  MosquittoBroker broker(persistent());
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(sessionOf(broker));
  ASSERT_TRUE(subscriber.waitSubscribed(3));
  EventLog events;
  MqttPublisher publisher(optionsFor(broker), events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  for (const std::string& v : values(1, 5)) {
    publisher.publish(v);
  }
  ASSERT_TRUE(subscriber.waitFor(countOnTopic(5), 3));
  // The subscriber's acknowledgements reach the broker before its session is saved, else the
  // broker would deliver those five again after its restart.
  std::this_thread::sleep_for(milliseconds(200));
  ASSERT_TRUE(broker.saveSessions());

  // Sent into a broker that reads nothing, which then dies: none of them reached it.
  broker.freeze();
  for (const std::string& v : values(6, 35)) {
    publisher.publish(v);
  }
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(publisher.counters().queued, 30u);
  broker.kill();
  ASSERT_TRUE(events.waitFor(MqttEvent::Lost, 3));
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));

  EXPECT_TRUE(publisher.finish(milliseconds(5000)));
  ASSERT_TRUE(subscriber.waitFor(countOnTopic(35), 5));
  EXPECT_EQ(subscriber.messages(), values(1, 35));
  EXPECT_EQ(publisher.counters().published, 35u);
}

TEST(MqttPublisher, MessagesWaitForABrokerNotYetStarted) {
  MosquittoBroker broker(persistent());
  ASSERT_NO_FATAL_FAILURE(subscribeAndStop(broker));

  EventLog events;
  MqttPublisher publisher(optionsFor(broker), events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  for (const std::string& v : values(1, 40)) {
    publisher.publish(v);
  }
  ASSERT_TRUE(events.waitFor(MqttEvent::Lost, 3));
  EXPECT_NE(events.textOf(MqttEvent::Lost).find("cannot reach the broker"), std::string::npos)
      << events.textOf(MqttEvent::Lost);
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(publisher.counters().queued, 40u);
  EXPECT_EQ(publisher.counters().published, 0u);

  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(sessionOf(broker));
  ASSERT_TRUE(subscriber.waitFor(countOnTopic(40), 5));
  EXPECT_TRUE(publisher.finish(milliseconds(3000)));
  EXPECT_EQ(subscriber.messages(), values(1, 40));
  EXPECT_EQ(publisher.counters().published, 40u);
  EXPECT_EQ(events.kinds(), (std::vector<MqttEvent>{MqttEvent::Lost, MqttEvent::Back}));
}

TEST(MqttPublisher, AFullQueueDropsTheOldestAndCountsThem) {
  MosquittoBroker broker(persistent());
  ASSERT_NO_FATAL_FAILURE(subscribeAndStop(broker));

  EventLog events;
  MqttPublisherOptions options = optionsFor(broker);
  options.queueLimit = 10;
  MqttPublisher publisher(options, events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  for (const std::string& v : values(1, 25)) {
    publisher.publish(v);
  }
  EXPECT_EQ(publisher.counters().queued, 10u);
  EXPECT_EQ(publisher.counters().dropped, 15u);

  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(sessionOf(broker));
  ASSERT_TRUE(subscriber.waitFor(countOnTopic(10), 5));
  // Dropped messages were not delivered: finish says so.
  EXPECT_FALSE(publisher.finish(milliseconds(3000)));
  EXPECT_EQ(subscriber.messages(), values(16, 25));
  const MqttCounters c = publisher.counters();
  EXPECT_EQ(c.published, 10u);
  EXPECT_EQ(c.queued, 0u);
  EXPECT_EQ(c.dropped, 15u);
}

TEST(MqttPublisher, PublishesOverTlsToABrokerTheCaSigned) {
  BrokerSettings tls;
  tls.tls = true;
  MosquittoBroker broker(tls);
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(SubscriberSettings{broker.port(), kTopic, broker.caFile(), "", "", ""});
  ASSERT_TRUE(subscriber.waitSubscribed(5));

  EventLog events;
  MqttPublisherOptions options = optionsFor(broker, true);
  options.caFile = broker.caFile();
  MqttPublisher publisher(options, events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  for (const std::string& v : values(1, 60)) {
    publisher.publish(v);
  }
  EXPECT_TRUE(publisher.finish(milliseconds(5000)));
  ASSERT_TRUE(subscriber.waitFor(countOnTopic(60), 5));
  EXPECT_EQ(subscriber.messages(), values(1, 60));
  EXPECT_EQ(events.kinds(), std::vector<MqttEvent>{MqttEvent::Connected});
}

TEST(MqttPublisher, RefusesABrokerAnotherCaSignedAndAMissingCaFile) {
  BrokerSettings tls;
  tls.tls = true;
  MosquittoBroker broker(tls), stranger(tls);
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));

  EventLog events;
  MqttPublisherOptions options = optionsFor(broker, true);
  options.caFile = stranger.caFile();
  MqttPublisher publisher(options, events.handler());
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  publisher.publish(value(1));
  ASSERT_TRUE(events.waitFor(MqttEvent::Fatal, 5));
  EXPECT_NE(events.textOf(MqttEvent::Fatal).find("TLS handshake"), std::string::npos)
      << events.textOf(MqttEvent::Fatal);
  EXPECT_FALSE(publisher.finish(milliseconds(1000)));

  options.caFile = broker.folder().string() + "/no-such-ca.crt";
  MqttPublisher missing(options, {});
  EXPECT_FALSE(missing.start(reason));
  EXPECT_NE(reason.find("no-such-ca.crt"), std::string::npos) << reason;
}

TEST(MqttPublisher, AWrongPasswordIsFatalAtOnceAndTheRightOneDelivers) {
  BrokerSettings withUser;
  withUser.user = {"line-7", "right-pass"};
  MosquittoBroker broker(withUser);
  ASSERT_NO_FATAL_FAILURE(startOrFail(broker));
  MqttSubscriber subscriber(
      SubscriberSettings{broker.port(), kTopic, "", "line-7", "right-pass", ""});
  ASSERT_TRUE(subscriber.waitSubscribed(3));

  for (const char* wrong : {"wrong-pass", ""}) {
    SCOPED_TRACE(wrong);
    EventLog events;
    MqttPublisherOptions options = optionsFor(broker);
    if (*wrong) {
      options.credentials = MqttCredentials{"line-7", wrong};
    }
    MqttPublisher publisher(options, events.handler());
    std::string reason;
    ASSERT_TRUE(publisher.start(reason)) << reason;
    publisher.publish(value(1));
    ASSERT_TRUE(events.waitFor(MqttEvent::Fatal, 3));
    const std::string text = events.textOf(MqttEvent::Fatal);
    EXPECT_NE(text.find("refused the connection"), std::string::npos) << text;
    EXPECT_TRUE(text.find("not authorised") != std::string::npos ||
                text.find("bad user name or password") != std::string::npos)
        << text;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(publisher.finish(milliseconds(5000)));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, milliseconds(500));
    EXPECT_EQ(events.kinds(), std::vector<MqttEvent>{MqttEvent::Fatal});
  }

  MqttPublisherOptions options = optionsFor(broker);
  options.credentials = MqttCredentials{"line-7", "right-pass"};
  MqttPublisher publisher(options, {});
  std::string reason;
  ASSERT_TRUE(publisher.start(reason)) << reason;
  for (const std::string& v : values(1, 5)) {
    publisher.publish(v);
  }
  EXPECT_TRUE(publisher.finish(milliseconds(3000)));
  ASSERT_TRUE(subscriber.waitFor(countOnTopic(5), 3));
  EXPECT_EQ(subscriber.messages(), values(1, 5));
}

}  // namespace
}  // namespace qrix::mqtt
