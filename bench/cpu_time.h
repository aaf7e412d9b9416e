#pragma once
// Clocks the benchmarks measure with: CPU seconds of this process and wall seconds since a start.

#include <sys/resource.h>

#include <chrono>

namespace qrix::bench {

using Clock = std::chrono::steady_clock;

inline double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace qrix::bench
