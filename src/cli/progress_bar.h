#pragma once
// A progress bar on one line of a terminal, redrawn in place, for the long commands (a
// recording, a flash transfer). Off when the stream is no terminal: a log file gets only the
// status texts.

#include <cstdio>
#include <string>

namespace qrix::cli {

class ProgressBar {
 public:
  // Draws on `stream` only when it is a terminal.
  explicit ProgressBar(std::FILE* stream);
  ProgressBar(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled) {}

  // Redraws the bar at done of total.
  void show(long done, long total);
  // Clears the bar's line before other text is written; the next show draws it again.
  void interrupt();
  // Ends the bar's line for good.
  void finish();

  // The bar's text, 30 cells wide: "[#######.......]  12/256".
  static std::string render(long done, long total);

 private:
  std::FILE* stream_;
  bool enabled_;
  bool drawn_ = false;
};

}  // namespace qrix::cli
