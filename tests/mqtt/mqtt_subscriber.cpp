#include "mqtt_subscriber.h"

#include <mosquitto.h>

#include <thread>

namespace qrix::testing {

namespace {

template <typename Done>
bool poll(Done done, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (done()) {
      return true;
    }
    if (std::chrono::steady_clock::now() > until) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

MqttSubscriber::MqttSubscriber(SubscriberSettings settings) : settings_(std::move(settings)) {
  mosquitto_lib_init();
  const bool session = !settings_.sessionId.empty();
  mosq_ = mosquitto_new(session ? settings_.sessionId.c_str() : nullptr, !session, this);
  if (!settings_.user.empty()) {
    mosquitto_username_pw_set(mosq_, settings_.user.c_str(), settings_.password.c_str());
  }
  if (!settings_.caFile.empty()) {
    mosquitto_tls_set(mosq_, settings_.caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
  }
  mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
  mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* self, int rc) {
    if (rc != 0) {
      return;
    }
    const auto* s = static_cast<MqttSubscriber*>(self);
    const std::string status = s->settings_.topic + "/status";
    mosquitto_subscribe(m, nullptr, s->settings_.topic.c_str(), 1);
    mosquitto_subscribe(m, nullptr, status.c_str(), 1);
  });
  mosquitto_subscribe_callback_set(mosq_, [](mosquitto*, void* self, int, int, const int*) {
    auto* s = static_cast<MqttSubscriber*>(self);
    std::lock_guard lock(s->mutex_);
    ++s->subscriptions_;
  });
  mosquitto_message_callback_set(mosq_, [](mosquitto*, void* self, const mosquitto_message* m) {
    static_cast<MqttSubscriber*>(self)->arrived(
        {m->topic, std::string(static_cast<const char*>(m->payload), m->payloadlen), m->retain,
         std::chrono::steady_clock::now()});
  });
  mosquitto_connect_async(mosq_, "127.0.0.1", settings_.port, 30);
  mosquitto_loop_start(mosq_);
}

MqttSubscriber::~MqttSubscriber() {
  mosquitto_disconnect(mosq_);
  mosquitto_loop_stop(mosq_, false);
  mosquitto_destroy(mosq_);
}

void MqttSubscriber::arrived(Received message) {
  std::lock_guard lock(mutex_);
  received_.push_back(std::move(message));
}

bool MqttSubscriber::waitSubscribed(double seconds) {
  return poll(
      [this] {
        std::lock_guard lock(mutex_);
        return subscriptions_ >= 2;
      },
      seconds);
}

bool MqttSubscriber::waitFor(const std::function<bool(const std::vector<Received>&)>& done,
                             double seconds) {
  return poll(
      [&] {
        std::lock_guard lock(mutex_);
        return done(received_);
      },
      seconds);
}

std::vector<Received> MqttSubscriber::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<std::string> MqttSubscriber::messages() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> payloads;
  for (const Received& r : received_) {
    if (r.topic == settings_.topic) {
      payloads.push_back(r.payload);
    }
  }
  return payloads;
}

std::string MqttSubscriber::lastStatus() const {
  std::lock_guard lock(mutex_);
  for (auto r = received_.rbegin(); r != received_.rend(); ++r) {
    if (r->topic == settings_.topic + "/status") {
      return r->payload;
    }
  }
  return "";
}

}  // namespace qrix::testing
