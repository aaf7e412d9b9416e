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
  if (pending()) return;
  earliestMs_ = earliestMs;
  scheduled_.start();
  timer_.start(std::max(latestMs, 0));
  if (QWidget* window = widget_ ? widget_->window() : nullptr) {
    watched_ = window;
    window->installEventFilter(this);
  }
}

void DeferredUpdate::runNow() {
  if (pending()) run();
}

void DeferredUpdate::run() {
  cancel();
  work_();
}

void DeferredUpdate::cancel() {
  timer_.stop();
  if (watched_) watched_->removeEventFilter(this);
  watched_ = nullptr;
}

bool DeferredUpdate::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watched_ && event->type() == QEvent::UpdateRequest && pending() &&
      scheduled_.elapsed() >= earliestMs_)
    runNow();
  return false;
}

}  // namespace qrix::qt
