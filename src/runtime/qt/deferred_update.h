#pragma once
// An update of a widget that may wait a little. It runs with the window's first repaint once its
// earliest time has come, so that it costs no repaint of its own, or by itself at its latest
// time when the window has not repainted by then.

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

}  // namespace qrix::qt
