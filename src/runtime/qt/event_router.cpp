#include "runtime/qt/event_router.h"

namespace qrix::qt {

namespace {

// Keeps the count right even when a callback throws.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

int EventRouter::send(int panel, int control, int event, int data1, int data2) {
  DepthGuard guard(depth_);
  return model_.dispatch(panel, control, event, data1, data2);
}

}  // namespace qrix::qt
