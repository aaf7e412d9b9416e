#include "mqtt/mqtt_publisher.h"

#include <fcntl.h>
#include <mosquitto.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace qrix::mqtt {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kOnline = "online";
constexpr std::string_view kOffline = "offline";
// The longest the thread sleeps without looking at its connection (keepalive, timeouts).
constexpr int kPollMs = 100;
// finish() waits at least this long for the broker's answer to "offline".
constexpr std::chrono::milliseconds kOfflineGrace{500};

enum class Stage { Waiting, InFlight, Acknowledged };

struct Entry {
  std::string payload;
  std::uint64_t seq = 0;  // the order of publish(): names the entry while the queue changes
  Stage stage = Stage::Waiting;
  int mid = 0;  // libmosquitto's message id on the current connection, when in flight
};

void initLibrary() {
  // mosquitto_lib_init is not thread-safe; the library stays initialised until the process ends.
  static std::once_flag once;
  std::call_once(once, [] { mosquitto_lib_init(); });
}

// CONNACK codes no retry can change: protocol version, client id, credentials, authorisation.
bool refusedForGood(int connackCode) {
  return connackCode == 1 || connackCode == 2 || connackCode == 4 || connackCode == 5;
}

int remainingMs(Clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, kPollMs));
}

}  // namespace

struct MqttPublisher::State {
  MqttPublisherOptions options;
  MqttEventHandler onEvent;
  std::string statusTopic;
  int wake[2] = {-1, -1};  // a pipe: publish() and finish() wake the thread from poll()

  // Shared with the callers, under `mutex`.
  mutable std::mutex mutex;
  std::deque<Entry> queue;
  std::uint64_t waiting = 0;  // entries not acknowledged
  std::uint64_t published = 0;
  std::uint64_t dropped = 0;
  std::uint64_t lastSeq = 0;
  bool started = false;
  bool closed = false;  // finish() called or a fatal error: publish() takes nothing more
  bool fatal = false;
  bool finishing = false;
  Clock::time_point finishBy;
  std::optional<bool> finishResult;
  std::thread thread;

  // The thread's own.
  mosquitto* mosq = nullptr;
  bool connected = false;  // CONNACK accepted on the current handle
  bool everConnected = false;
  bool lostReported = false;
  // What libmosquitto's callbacks saw in the last turn of its loop.
  bool accepted = false;
  int refusedCode = 0;
  std::vector<int> acknowledgedMids;
  int offlineMid = -1;
  bool offlineAcknowledged = false;
  Clock::time_point connectStarted, nextAttempt;
  std::chrono::milliseconds retry{0};

  void emit(MqttEvent event, const std::string& text) {
    if (onEvent) {
      onEvent(event, text);
    }
  }

  void wakeThread() {
    const char byte = 1;
    // A full pipe already wakes the thread; nothing more to say.
    [[maybe_unused]] const ssize_t n = ::write(wake[1], &byte, 1);
  }

  void drainWake() {
    char buffer[64];
    while (::read(wake[0], buffer, sizeof buffer) > 0) {
    }
  }

  bool configure(mosquitto* m, std::string& reason) {
    const MqttUrl& url = options.url;
    mosquitto_int_option(m, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    // Room for the status messages beside the data in flight: libmosquitto never holds back one
    // of ours in a queue of its own.
    mosquitto_max_inflight_messages_set(m, static_cast<unsigned>(options.inFlightLimit + 2));
    int rc = mosquitto_will_set(m, statusTopic.c_str(), static_cast<int>(kOffline.size()),
                                kOffline.data(), 1, true);
    if (rc == MOSQ_ERR_SUCCESS && options.credentials) {
      const MqttCredentials& c = *options.credentials;
      rc = mosquitto_username_pw_set(m, c.user.c_str(),
                                     c.password.empty() ? nullptr : c.password.c_str());
    }
    if (rc != MOSQ_ERR_SUCCESS) {
      reason = std::string("cannot set up the connection: ") + mosquitto_strerror(rc);
      return false;
    }
    if (url.tls) {
      if (options.caFile.empty()) {
        rc = mosquitto_int_option(m, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
      } else {
        rc = mosquitto_tls_set(m, options.caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
      }
      if (rc != MOSQ_ERR_SUCCESS) {
        reason =
            options.caFile.empty()
                ? std::string("cannot use the system's CA certificates: ") + mosquitto_strerror(rc)
                : "cannot use the CA file " + options.caFile + ": " +
                      (rc == MOSQ_ERR_INVAL ? "it cannot be read"
                                            : std::string(mosquitto_strerror(rc)));
        return false;
      }
    }
    mosquitto_connect_callback_set(m, [](mosquitto*, void* self, int code) {
      static_cast<State*>(self)->connackArrived(code);
    });
    mosquitto_publish_callback_set(m, [](mosquitto*, void* self, int mid) {
      static_cast<State*>(self)->acknowledgementArrived(mid);
    });
    return true;
  }

  // libmosquitto's callbacks only note what came; it is acted on once mosquitto_loop has
  // returned, so that neither libmosquitto is called back into nor our lock taken under its own.
  void connackArrived(int code) {
    if (code == 0) {
      accepted = true;
    } else {
      refusedCode = code;
    }
  }
  void acknowledgementArrived(int mid) { acknowledgedMids.push_back(mid); }

  void announceOnline() {
    connected = true;
    retry = options.retryFirst;
    mosquitto_publish(mosq, nullptr, statusTopic.c_str(), static_cast<int>(kOnline.size()),
                      kOnline.data(), 1, true);
    const bool back = everConnected || lostReported;
    everConnected = true;
    lostReported = false;
    emit(back ? MqttEvent::Back : MqttEvent::Connected,
         (back ? "connected again to " : "connected to ") + describe(options.url));
  }

  // The broker has these messages.
  void countAcknowledged() {
    std::lock_guard lock(mutex);
    for (const int mid : acknowledgedMids) {
      if (mid == offlineMid) {
        offlineAcknowledged = true;
      }
      // Messages are sent from the front, so those in flight are among the first ones.
      for (Entry& e : queue) {
        if (e.stage == Stage::Waiting) {
          break;
        }
        if (e.stage == Stage::InFlight && e.mid == mid) {
          e.stage = Stage::Acknowledged;
          ++published;
          --waiting;
          break;
        }
      }
    }
    acknowledgedMids.clear();
    popAcknowledged();
  }

  void dropConnection() {
    if (mosq) {
      mosquitto_destroy(mosq);
    }
    mosq = nullptr;
    connected = false;
    accepted = false;
    refusedCode = 0;
    acknowledgedMids.clear();
    std::lock_guard lock(mutex);
    // The new connection sends again what this one left unacknowledged.
    for (Entry& e : queue) {
      if (e.stage == Stage::Waiting) {
        break;
      }
      if (e.stage == Stage::InFlight) {
        e = Entry{std::move(e.payload), e.seq};
      }
    }
  }

  void connectionFailed(const std::string& why) {
    const bool wasConnected = connected;
    dropConnection();
    nextAttempt = Clock::now() + retry;
    retry = std::min(retry * 2, options.retryMax);
    if (lostReported) {
      return;
    }
    lostReported = true;
    emit(MqttEvent::Lost, (wasConnected ? "lost the broker at " : "cannot reach the broker at ") +
                              describe(options.url) + ": " + why);
  }

  void fatalError(const std::string& why) {
    dropConnection();
    {
      std::lock_guard lock(mutex);
      fatal = true;
      closed = true;
    }
    emit(MqttEvent::Fatal, why);
  }

  void connect() {
    mosq = mosquitto_new(options.clientId.empty() ? nullptr : options.clientId.c_str(), true, this);
    std::string reason;
    if (!mosq) {
      return connectionFailed("out of memory");
    }
    if (!configure(mosq, reason)) {
      return fatalError(reason);
    }
    connectStarted = Clock::now();
    const int rc = mosquitto_connect_async(mosq, options.url.host.c_str(), options.url.port,
                                           options.keepAliveSeconds);
    if (rc != MOSQ_ERR_SUCCESS) {
      connectionFailed(reasonOf(rc, errno));
    }
  }

  static std::string reasonOf(int rc, int savedErrno) {
    if (rc == MOSQ_ERR_ERRNO) {
      return std::strerror(savedErrno);
    }
    return mosquitto_strerror(rc);
  }

  // The entry numbered `seq` among those on their way (the first ones); null when gone.
  Entry* onItsWay(std::uint64_t seq) {
    for (Entry& e : queue) {
      if (e.stage == Stage::Waiting) {
        break;
      }
      if (e.seq == seq) {
        return &e;
      }
    }
    return nullptr;
  }

  // Hands the waiting messages to libmosquitto, oldest first, up to the limit in flight. Our
  // lock is never held while libmosquitto is called: its callbacks take our lock under its own.
  void handOver() {
    for (;;) {
      std::string payload;
      std::uint64_t seq = 0;
      {
        std::lock_guard lock(mutex);
        int inFlight = 0;
        Entry* next = nullptr;
        for (Entry& e : queue) {
          if (e.stage == Stage::InFlight) {
            ++inFlight;
          }
          if (e.stage == Stage::Waiting) {
            next = &e;
            break;
          }
        }
        if (!next || inFlight >= options.inFlightLimit) {
          return;
        }
        // On its way from now on: a full queue no longer drops it.
        next->stage = Stage::InFlight;
        payload = next->payload;
        seq = next->seq;
      }
      int mid = 0;
      const int rc = mosquitto_publish(mosq, &mid, options.url.topic.c_str(),
                                       static_cast<int>(payload.size()), payload.data(), 1, false);
      const int savedErrno = errno;
      {
        std::lock_guard lock(mutex);
        Entry* e = onItsWay(seq);
        if (rc == MOSQ_ERR_SUCCESS) {
          if (e) {
            e->mid = mid;
          }
          continue;
        }
        if (e && (rc == MOSQ_ERR_PAYLOAD_SIZE || rc == MOSQ_ERR_OVERSIZE_PACKET)) {
          // Never sendable: counted as dropped, so that finish() does not report success.
          e->stage = Stage::Acknowledged;
          --waiting;
          ++dropped;
          popAcknowledged();
          continue;
        }
      }
      // The connection broke under the write; libmosquitto may hold the message, so the handle
      // goes and the next connection sends it.
      connectionFailed(reasonOf(rc, savedErrno));
      return;
    }
  }

  void popAcknowledged() {
    while (!queue.empty() && queue.front().stage == Stage::Acknowledged) {
      queue.pop_front();
    }
  }

  void pollConnection(int timeoutMs) {
    pollfd fds[2] = {{mosquitto_socket(mosq), POLLIN, 0}, {wake[0], POLLIN, 0}};
    if (mosquitto_want_write(mosq)) {
      fds[0].events |= POLLOUT;
    }
    ::poll(fds, 2, timeoutMs);
    if (fds[1].revents & POLLIN) {
      drainWake();
    }
  }

  void sleepUntil(Clock::time_point until) {
    pollfd fd = {wake[0], POLLIN, 0};
    ::poll(&fd, 1, remainingMs(until));
    if (fd.revents & POLLIN) {
      drainWake();
    }
  }

  // One turn of libmosquitto's loop: reads, writes, keepalive. False when the connection is gone.
  bool turn(int timeoutMs) {
    pollConnection(timeoutMs);
    const int rc = mosquitto_loop(mosq, 0, 1);
    const int savedErrno = errno;
    countAcknowledged();
    if (accepted) {
      accepted = false;
      announceOnline();
    }
    if (refusedCode != 0) {
      const int code = refusedCode;
      const std::string text = std::string("the broker at ") + describe(options.url) +
                               " refused the connection: " + mosquitto_connack_string(code);
      if (refusedForGood(code)) {
        fatalError(text + (code == 4 || code == 5
                               ? " (check QRIX_MQTT_USER and QRIX_MQTT_PASSWORD or the "
                                 "credentials file)"
                               : ""));
      } else {
        connectionFailed(text);
      }
      return false;
    }
    if (rc == MOSQ_ERR_TLS && !connected) {
      fatalError("the TLS handshake with " + describe(options.url) +
                 " failed: its certificate is not signed by the CA file given, does not name "
                 "the host, or the broker does not speak TLS there");
      return false;
    }
    if (rc != MOSQ_ERR_SUCCESS) {
      connectionFailed(reasonOf(rc, savedErrno));
      return false;
    }
    if (!connected && Clock::now() - connectStarted > options.connectTimeout) {
      connectionFailed("no answer within " + std::to_string(options.connectTimeout.count()) +
                       " ms");
      return false;
    }
    return true;
  }

  void run() {
    retry = options.retryFirst;
    nextAttempt = Clock::now();
    for (;;) {
      bool finishingNow, empty, stop;
      Clock::time_point until;
      {
        std::lock_guard lock(mutex);
        finishingNow = finishing;
        until = finishBy;
        empty = waiting == 0;
        stop = fatal;
      }
      if (stop) {
        break;
      }
      const bool late = finishingNow && Clock::now() >= until;
      // finish(): the end comes once the queue is empty or the time is up.
      if (finishingNow && (late || empty)) {
        break;
      }
      if (!mosq) {
        if (Clock::now() < nextAttempt) {
          sleepUntil(finishingNow ? std::min(nextAttempt, until) : nextAttempt);
          continue;
        }
        connect();
        continue;
      }
      if (connected) {
        handOver();
      }
      if (mosq) {
        turn(finishingNow ? remainingMs(until) : kPollMs);
      }
    }
    sayOffline();
    dropConnection();
  }

  // A clean end: "offline" retained, then DISCONNECT, after which the broker drops our will.
  void sayOffline() {
    if (!mosq || !connected) {
      return;
    }
    Clock::time_point until;
    {
      std::lock_guard lock(mutex);
      until = std::max(finishBy, Clock::now() + kOfflineGrace);
    }
    if (mosquitto_publish(mosq, &offlineMid, statusTopic.c_str(), static_cast<int>(kOffline.size()),
                          kOffline.data(), 1, true) != MOSQ_ERR_SUCCESS) {
      return;
    }
    while (!offlineAcknowledged && Clock::now() < until && turn(remainingMs(until))) {
    }
    if (mosq) {
      mosquitto_disconnect(mosq);
    }
  }
};

MqttPublisher::MqttPublisher(MqttPublisherOptions options, MqttEventHandler onEvent)
    : state_(std::make_unique<State>()) {
  state_->options = std::move(options);
  state_->onEvent = std::move(onEvent);
  state_->statusTopic = state_->options.url.topic + "/status";
}

MqttPublisher::~MqttPublisher() {
  finish(std::chrono::milliseconds(0));
  for (int fd : state_->wake) {
    if (fd >= 0) {
      ::close(fd);
    }
  }
}

bool MqttPublisher::start(std::string& reason) {
  State& s = *state_;
  const MqttPublisherOptions& o = s.options;
  if (s.started) {
    reason = "the publisher has been started already";
    return false;
  }
  if (o.queueLimit < 1 || o.inFlightLimit < 1) {
    reason = "the queue and the messages in flight must allow one message at least";
    return false;
  }
  if (o.retryFirst.count() < 1 || o.retryMax < o.retryFirst) {
    reason = "the pause between connection tries must grow from 1 ms or more";
    return false;
  }
  initLibrary();
  if (mosquitto_pub_topic_check2(o.url.topic.c_str(), o.url.topic.size()) != MOSQ_ERR_SUCCESS ||
      mosquitto_validate_utf8(o.url.topic.c_str(), static_cast<int>(o.url.topic.size())) !=
          MOSQ_ERR_SUCCESS) {
    reason = "the topic '" + o.url.topic + "' is not a topic one can publish to";
    return false;
  }
  // The options are tried on a handle of their own, so that a bad CA file shows here.
  mosquitto* probe = mosquitto_new(nullptr, true, nullptr);
  if (!probe) {
    reason = "out of memory";
    return false;
  }
  const bool configured = s.configure(probe, reason);
  mosquitto_destroy(probe);
  if (!configured) {
    return false;
  }
  if (::pipe2(s.wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    reason = std::string("cannot make the publisher's wake-up pipe: ") + std::strerror(errno);
    return false;
  }
  std::lock_guard lock(s.mutex);
  s.started = true;
  s.thread = std::thread([&s] { s.run(); });
  return true;
}

void MqttPublisher::publish(std::string payload) {
  State& s = *state_;
  {
    std::lock_guard lock(s.mutex);
    if (s.closed) {
      ++s.dropped;
      return;
    }
    if (s.waiting >= s.options.queueLimit) {
      // The oldest message not on its way goes; one already sent cannot be called back, so with
      // every message in flight the new one is the one dropped.
      const auto oldest = std::find_if(s.queue.begin(), s.queue.end(),
                                       [](const Entry& e) { return e.stage == Stage::Waiting; });
      ++s.dropped;
      if (oldest == s.queue.end()) {
        return;
      }
      s.queue.erase(oldest);
      --s.waiting;
    }
    s.queue.push_back(Entry{std::move(payload), ++s.lastSeq});
    ++s.waiting;
    if (!s.started) {
      return;
    }
  }
  s.wakeThread();
}

MqttCounters MqttPublisher::counters() const {
  const State& s = *state_;
  std::lock_guard lock(s.mutex);
  return {s.published, s.waiting, s.dropped};
}

bool MqttPublisher::finish(std::chrono::milliseconds timeout) {
  State& s = *state_;
  {
    std::lock_guard lock(s.mutex);
    if (s.finishResult) {
      return *s.finishResult;
    }
    s.closed = true;
    s.finishing = true;
    s.finishBy = Clock::now() + timeout;
  }
  if (s.thread.joinable()) {
    s.wakeThread();
    s.thread.join();
  }
  std::lock_guard lock(s.mutex);
  s.finishResult = s.waiting == 0 && s.dropped == 0 && !s.fatal;
  return *s.finishResult;
}

}  // namespace qrix::mqtt
