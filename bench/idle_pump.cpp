// The event pump while a program loop waits for a flag that never comes: CPU time over wall
// time (a pump that spins burns a whole core), and how late the loop sees a timer fire.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cpu_time.h"
#include "runtime/qt/qt_runtime.h"

using qrix::bench::Clock;
using qrix::bench::cpuSeconds;
using qrix::bench::secondsSince;

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  qrix::QtRuntime runtime([](int) { return std::optional<qrix::ui::PanelTemplate>{}; });

  // Idle: 3 s of waiting for a flag nobody sets.
  constexpr double kIdleSeconds = 3.0;
  bool flag = false;
  long pumps = 0;
  const double cpuStart = cpuSeconds();
  const Clock::time_point wallStart = Clock::now();
  while (!flag && secondsSince(wallStart) < kIdleSeconds) {
    runtime.ProcessSystemEvents();
    ++pumps;
  }
  const double wall = secondsSince(wallStart);
  const double cpu = cpuSeconds() - cpuStart;
  std::printf("idle pump: cpu/wall = %.3f (target < 0.02)  [%.3f s cpu, %.3f s wall, %ld pumps]\n",
              cpu / wall, cpu, wall, pumps);

  // Latency: a timer 100 ms ahead, and when the pumping loop notices it fired.
  constexpr int kDelayMs = 100;
  bool fired = false;
  const Clock::time_point scheduled = Clock::now();
  QTimer::singleShot(kDelayMs, Qt::PreciseTimer, [&fired] { fired = true; });
  while (!fired) {
    runtime.ProcessSystemEvents();
  }
  const double lateMs = (secondsSince(scheduled) - kDelayMs / 1000.0) * 1000.0;
  std::printf("timer latency: seen %.2f ms after its due time\n", lateMs);
  return 0;
}
