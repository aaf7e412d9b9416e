#include "runtime/qt/focus_order.h"

#include <algorithm>
#include <numeric>

namespace qrix::qt {

std::vector<std::size_t> readingOrder(const std::vector<QRect>& places) {
  std::vector<std::size_t> order(places.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const auto byTopThenLeft = [&](std::size_t a, std::size_t b) {
    const QRect& pa = places[a];
    const QRect& pb = places[b];
    return pa.top() != pb.top() ? pa.top() < pb.top() : pa.left() < pb.left();
  };
  std::stable_sort(order.begin(), order.end(), byTopThenLeft);
  for (auto row = order.begin(); row != order.end();) {
    // Sorted by top, so the places that overlap the row's first one follow it.
    const int bottom = places[*row].bottom();
    auto end =
        std::find_if(row, order.end(), [&](std::size_t i) { return places[i].top() > bottom; });
    std::stable_sort(row, end, [&](std::size_t a, std::size_t b) {
      return places[a].left() < places[b].left();
    });
    row = end;
  }
  return order;
}

}  // namespace qrix::qt
