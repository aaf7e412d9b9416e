// qrix-cli monitor --mqtt as a plant runs it: the real command line against qrix-sensor-sim on a
// pseudo-terminal (no reaction time), publishing through a mosquitto broker on this machine that
// the benchmark starts, for --seconds (default 120), then SIGINT.
//
// Per answer, the time from the simulator's sending of the answer to the subscriber's receipt:
// the simulator logs each request's arrival on the monotonic clock the subscriber stamps with,
// counted from its start (read here as it logs that it serves), and the answer to the k-th RUN
// request is the k-th published (seq k); with no reaction time its first byte is written as the
// request arrives and one more every byte time, the last 35 byte times later. The figure is
// good to about a millisecond (the log's millisecond steps, the pacing's wake-ups). Also from the
// JSON's own "time" (the command line's wall clock when it took the answer, cut to the millisecond)
// to receipt. Median and p99 in ms, the answers lost, and RUN's rate against the line's limit (36
// bytes each way at 19200 baud 8N1: 26.67 exchanges a second; target
// >= 0.97).

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "iso_time.h"
#include "mosquitto_broker.h"
#include "mqtt_bench.h"
#include "mqtt_subscriber.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kByteSeconds = 10.0 / 19200.0;
constexpr double kExchangeBytes = 2 * 36;
constexpr double kLineLimit = 1.0 / (kExchangeBytes * kByteSeconds);
constexpr const char* kTopic = "bench/line1/gap";

// The arrival times (monotonic seconds) of the RUN requests the simulator logged, in order.
std::vector<double> runRequestTimes(const std::string& log) {
  std::vector<double> times;
  static const std::regex line(R"(request cmd=8 arg=\d+ t=([0-9.]+))");
  for (auto it = std::sregex_iterator(log.begin(), log.end(), line); it != std::sregex_iterator();
       ++it) {
    times.push_back(std::stod((*it)[1]));
  }
  return times;
}

double monotonicSeconds(Clock::time_point at) {
  return std::chrono::duration<double>(at.time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<int> given = qrix::bench::secondsArgument(argc, argv, "mqtt latency");
  if (!given) {
    return 2;
  }
  const int seconds = *given;
  qrix::testing::MosquittoBroker broker;
  std::optional<qrix::testing::MqttSubscriber> subscriber;
  if (!qrix::bench::startBroker(broker, subscriber, kTopic, "mqtt latency")) {
    return 1;
  }
  qrix::testing::ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--reaction", "0"});
  const std::string device = sim.readStdoutLine(5);
  // The simulator's clock starts just after it logs that it serves: read at once, that moment
  // on our clock is its zero, to a fraction of a millisecond.
  sim.readStderrUntil(
      [](const std::string& log) { return log.find("serving") != std::string::npos; }, 5);
  const double simZero = monotonicSeconds(Clock::now());
  if (device.empty()) {
    std::fprintf(stderr, "mqtt latency: the simulator did not start\n");
    return 1;
  }
  const std::string url = "mqtt://127.0.0.1:" + std::to_string(broker.port()) + "/" + kTopic;
  qrix::testing::ChildProcess cli(QRIX_CLI_PATH,
                                  {"--port", device, "monitor", "--mqtt", url, "--stats"});
  // The simulator's log is read all along: a full pipe would hold up its answers.
  const Clock::time_point end =
      Clock::now() + std::chrono::seconds(seconds) + std::chrono::seconds(2);  // the identification
  while (Clock::now() < end && cli.running()) {
    sim.stderrSoFar(0.005);
    cli.stderrSoFar(0.005);
  }
  cli.signal(SIGINT);
  const int status = cli.waitForExit(10);
  const std::string cliLog = cli.stderrSoFar(0.2);
  const std::string simLog = sim.stderrSoFar(0.2);
  subscriber->waitFor([](const std::vector<qrix::testing::Received>&) { return false; }, 1);

  std::smatch taken;
  std::regex_search(cliLog, taken, std::regex("after (\\d+) answers"));
  const long answers = taken.empty() ? 0 : std::stol(taken[1]);
  const std::vector<double> requests = runRequestTimes(simLog);
  // The JSON's wall clock against the subscriber's monotonic stamps.
  const double wallMinusMonotonicMs =
      std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch())
          .count() -
      monotonicSeconds(Clock::now()) * 1000;

  std::map<long, std::pair<double, double>> firstReceipt;  // seq -> (receipt s, JSON time ms)
  for (const qrix::testing::Received& r : subscriber->received()) {
    if (r.topic != kTopic) {
      continue;
    }
    const nlohmann::json j = nlohmann::json::parse(r.payload, nullptr, false);
    if (!j.is_object()) {
      continue;
    }
    firstReceipt.emplace(
        j.value("seq", -1L),
        std::make_pair(monotonicSeconds(r.at),
                       static_cast<double>(qrix::testing::millisOfIsoTime(j.value("time", "")))));
  }
  std::vector<double> fromSimMs, fromJsonMs;
  for (const auto& [seq, receipt] : firstReceipt) {
    if (seq >= 1 && static_cast<std::size_t>(seq) <= requests.size()) {
      const double sent = simZero + requests[static_cast<std::size_t>(seq - 1)] + 35 * kByteSeconds;
      fromSimMs.push_back((receipt.first - sent) * 1000);
    }
    fromJsonMs.push_back(receipt.first * 1000 + wallMinusMonotonicMs - receipt.second);
  }
  const long received = static_cast<long>(firstReceipt.size());
  double rate = 0;
  if (received >= 2) {
    const auto& first = *firstReceipt.begin();
    const auto& last = *firstReceipt.rbegin();
    rate = static_cast<double>(last.first - first.first) /
           ((last.second.second - first.second.second) / 1000);
  }
  const std::string stats = [&] {
    std::smatch m;
    return std::regex_search(cliLog, m, std::regex("published \\d+, queued \\d+, dropped \\d+"))
               ? m.str()
               : std::string("no counts");
  }();
  std::printf(
      "mqtt latency: %ld answers in %d s (exit %d; %s); simulator's answer to receipt median "
      "%.2f ms, p99 %.2f ms; JSON time to receipt median %.2f ms, p99 %.2f ms; lost %ld; RUN "
      "%.2f/s = ratio %.3f of the line's %.2f/s (target >= 0.97)\n",
      answers, seconds, status, stats.c_str(), qrix::bench::percentile(fromSimMs, 0.5),
      qrix::bench::percentile(fromSimMs, 0.99), qrix::bench::percentile(fromJsonMs, 0.5),
      qrix::bench::percentile(fromJsonMs, 0.99), answers - received, rate, rate / kLineLimit,
      kLineLimit);
  const bool ok =
      status == 128 + SIGINT && answers > 0 && received == answers && rate / kLineLimit >= 0.97;
  return ok ? 0 : 1;
}
