#include "runtime/qt/deferred_update.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace qrix::qt {

DeferredUpdate::DeferredUpdate(QWidget* widget, std::function<void()> work, QObject* parent)
    : QObject(parent), widget_(widget), work_(std::move(work)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &DeferredUpdate::run);
}

void DeferredUpdate::schedule(int earliestMs, int latestMs) {
  if (pending()) {
    return;
  }
  earliestMs_ = earliestMs;
  scheduled_.start();
  timer_.start(std::max(latestMs, 0));
  if (QWidget* window = widget_ ? widget_->window() : nullptr) {
    watched_ = window;
    window->installEventFilter(this);
  }
}

void DeferredUpdate::runNow() {
  if (pending()) {
    run();
  }
}

void DeferredUpdate::run() {
  cancel();
  work_();
}

void DeferredUpdate::cancel() {
  timer_.stop();
  if (watched_) {
    watched_->removeEventFilter(this);
  }
  watched_ = nullptr;
}

bool DeferredUpdate::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watched_ && event->type() == QEvent::UpdateRequest && pending() &&
      scheduled_.elapsed() >= earliestMs_) {
    runNow();
  }
  return false;
}

RateLimitedUpdate::RateLimitedUpdate(QWidget* widget, int intervalMs, int joinMs,
                                     std::function<void()> work, QObject* parent)
    : QObject(parent),
      intervalMs_(intervalMs),
      joinMs_(joinMs),
      work_(std::move(work)),
      deferred_(widget, [this] { run(); }) {}

void RateLimitedUpdate::request() {
  const qint64 since = sinceRun_.isValid() ? sinceRun_.elapsed() : intervalMs_;
  if (since >= intervalMs_) {
    deferred_.cancel();
    run();
    return;
  }
  const int due = static_cast<int>(intervalMs_ - since);
  deferred_.schedule(std::max(0, due - joinMs_), due);
}

void RateLimitedUpdate::run() {
  sinceRun_.start();
  work_();
}

}  // namespace qrix::qt
