// The progress bar of the long commands: its drawing, and that a stream which is no terminal
// (a log file, a pipe) gets nothing of it.

#include "cli/progress_bar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace qrix::cli {
namespace {

std::string contentOf(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string text;
  for (int c; (c = std::fgetc(f)) != EOF;) {
    text += static_cast<char>(c);
  }
  return text;
}

TEST(ProgressBar, FillsItsThirtyCellsInProportionAndKeepsWithinThem) {
  const struct {
    long done, total;
    const char* text;
  } cases[] = {
      {0, 257, "[..............................] 0/257"},
      {1, 3, "[##########....................] 1/3"},
      {257, 257, "[##############################] 257/257"},
      {300, 257, "[##############################] 257/257"},
      {-4, 10, "[..............................] 0/10"},
      {5, 0, "[..............................] 0/0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressBar::render(c.done, c.total), c.text);
  }
}

TEST(ProgressBar, RedrawsInPlaceAndClearsItsLineForOtherText) {
  std::FILE* f = std::tmpfile();
  ProgressBar bar(f, true);
  bar.show(1, 3);
  bar.interrupt();
  bar.interrupt();  // nothing drawn since: nothing to clear
  bar.show(3, 3);
  bar.finish();
  EXPECT_EQ(contentOf(f),
            "\r[##########....................] 1/3\r\033[K"
            "\r[##############################] 3/3\n");
  std::fclose(f);
}

TEST(ProgressBar, AFileIsNoTerminalAndGetsNoBar) {
  std::FILE* f = std::tmpfile();
  ProgressBar bar(f);
  bar.show(1, 3);
  bar.interrupt();
  bar.finish();
  EXPECT_EQ(contentOf(f), "");
  std::fclose(f);
}

}  // namespace
}  // namespace qrix::cli
