#include "cli/broker_events.h"

namespace qrix::cli {

void BrokerEvents::put(mqtt::MqttEvent event, const std::string& text) {
  std::lock_guard lock(mutex_);
  events_.push_back({event, text});
}

std::vector<BrokerEvent> BrokerEvents::take() {
  std::lock_guard lock(mutex_);
  std::vector<BrokerEvent> taken(std::make_move_iterator(events_.begin()),
                                 std::make_move_iterator(events_.end()));
  events_.clear();
  return taken;
}

}  // namespace qrix::cli
