#pragma once
// Updates of a widget that may wait a little.
// A deferred update runs with the window's first repaint once its earliest time has come, so
// that it costs no repaint of its own, or by itself at its latest time when the window has not
// repainted by then.
// A rate-limited update runs at once when the last run is at least its interval ago, else it is
// deferred to the end of that interval, taken along by any repaint of the window in the last
// `joinMs` before. What it shows is the newest state when it runs, so the last one always shows.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

namespace qrix::qt {

class DeferredUpdate : public QObject {
 public:
  DeferredUpdate(QWidget* widget, std::function<void()> work, QObject* parent = nullptr);

  // Due between `earliestMs` and `latestMs` from now; a pending update keeps its times.
  void schedule(int earliestMs, int latestMs);
  bool pending() const { return timer_.isActive(); }
  // Runs a pending update now.
  void runNow();
  void cancel();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void run();

  QPointer<QWidget> widget_;
  QPointer<QWidget> watched_;
  std::function<void()> work_;
  QTimer timer_;
  QElapsedTimer scheduled_;
  int earliestMs_ = 0;
};

class RateLimitedUpdate : public QObject {
 public:
  RateLimitedUpdate(QWidget* widget, int intervalMs, int joinMs, std::function<void()> work,
                    QObject* parent = nullptr);

  void request();
  // Runs a waiting update now.
  void flush() { deferred_.runNow(); }
  // The widget was brought in step by other means: nothing waits any more.
  void cancel() { deferred_.cancel(); }

 private:
  void run();

  int intervalMs_;
  int joinMs_;
  std::function<void()> work_;
  QElapsedTimer sinceRun_;
  DeferredUpdate deferred_;
};

}  // namespace qrix::qt
