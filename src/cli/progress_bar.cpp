#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>

namespace qrix::cli {

namespace {
constexpr long kCells = 30;
}

ProgressBar::ProgressBar(std::FILE* stream) : ProgressBar(stream, isatty(fileno(stream)) == 1) {}

std::string ProgressBar::render(long done, long total) {
  const long shown = std::clamp(done, 0L, std::max(total, 0L));
  const long filled = total > 0 ? shown * kCells / total : 0;
  // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) about a chain of operator+.
  std::string bar = "[";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kCells - filled), '.');
  bar.append("] ").append(std::to_string(shown)).append("/").append(std::to_string(total));
  return bar;
}

void ProgressBar::show(long done, long total) {
  if (!enabled_) {
    return;
  }
  std::fprintf(stream_, "\r%s", render(done, total).c_str());
  std::fflush(stream_);
  drawn_ = true;
}

void ProgressBar::interrupt() {
  if (!drawn_) {
    return;
  }
  std::fputs("\r\033[K", stream_);
  drawn_ = false;
}

void ProgressBar::finish() {
  if (!drawn_) {
    return;
  }
  std::fputs("\n", stream_);
  drawn_ = false;
}

}  // namespace qrix::cli
