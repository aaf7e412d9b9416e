#pragma once
// Callbacks bound by name: a control named BTNRun calls the function registered as "CC_BTNRun".

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace qrix::ui {

// (panel, control, event, data1, data2) -> 0
using Callback = std::function<int(int, int, int, int, int)>;

class CallbackRegistry {
 public:
  void bind(std::string name, Callback fn) { table_[std::move(name)] = std::move(fn); }
  const Callback* find(std::string_view name) const {
    auto it = table_.find(std::string(name));
    return it == table_.end() ? nullptr : &it->second;
  }
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  const std::map<std::string, Callback>& all() const { return table_; }

 private:
  std::map<std::string, Callback> table_;
};

}  // namespace qrix::ui
