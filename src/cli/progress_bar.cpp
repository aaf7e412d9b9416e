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
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kCells - filled), '.') + "] " +
         std::to_string(shown) + "/" + std::to_string(total);
}

void ProgressBar::show(long done, long total) {
  if (!enabled_) return;
  std::fprintf(stream_, "\r%s", render(done, total).c_str());
  std::fflush(stream_);
  drawn_ = true;
}

void ProgressBar::interrupt() {
  if (!drawn_) return;
  std::fputs("\r\033[K", stream_);
  drawn_ = false;
}

void ProgressBar::finish() {
  if (!drawn_) return;
  std::fputs("\n", stream_);
  drawn_ = false;
}

}  // namespace qrix::cli
