#pragma once
// The order Tab walks a panel's controls in: the order a page is read, by where the model puts
// them, not the order they were made in.

#include <QRect>
#include <cstddef>
#include <vector>

namespace qrix::qt {

// Indices into `places`, rows top to bottom and left to right within a row. A row is the
// topmost place not yet taken with every place left whose vertical extent overlaps that one's:
// a button a few pixels lower than the field beside it still follows the field.
std::vector<std::size_t> readingOrder(const std::vector<QRect>& places);

}  // namespace qrix::qt
