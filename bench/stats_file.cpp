// qrix-cli stats on a recording of 2.3 million lines (a day of answers at the line's rate): the
// statistics read of all six columns with limits on MVAL, against a plain read of the same bytes
// that only counts the lines. Prints both in lines per second, the target (>= 2e6 lines/s) and
// the ratio to the plain read. Each read is timed three times, the best counts.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "cli/stats_command.h"
#include "recorder/recorder_file.h"

namespace {

constexpr std::uint64_t kLines = 2300000;

template <typename Read>
double bestSeconds(Read read) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    read();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// All bytes in large blocks, counting the line ends: the floor of any reader.
std::uint64_t countLines(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    return 0;
  }
  std::vector<char> block(std::size_t{1} << 20);
  std::uint64_t lines = 0;
  while (const std::size_t got = std::fread(block.data(), 1, block.size(), f)) {
    lines += static_cast<std::uint64_t>(std::count(block.data(), block.data() + got, '\n'));
  }
  std::fclose(f);
  return lines;
}

}  // namespace

int main() {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qrix-stats-file-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "day.dat").string();
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
      return 1;
    }
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> noise(-40, 40);
    std::string text = qrix::recorderHeader("03-14-2026", "15:09:26", 0, 16000);
    for (std::uint64_t i = 0; i < kLines; ++i) {
      const int d = noise(rng);
      text += qrix::recorderSampleLine({static_cast<std::uint16_t>(1716 + d),
                                        static_cast<std::uint16_t>(2396 - d),
                                        static_cast<std::uint16_t>(1716 + d / 2), -25000 + 37 * d,
                                        static_cast<std::uint16_t>(2 + (i & 1)), 1});
      if (text.size() > (1u << 20)) {
        std::fwrite(text.data(), 1, text.size(), f);
        text.clear();
      }
    }
    std::fwrite(text.data(), 1, text.size(), f);
    if (std::fclose(f) != 0) {
      return 1;
    }
  }

  std::uint64_t counted = 0;
  const double plain = bestSeconds([&] { counted = countLines(path); });
  qrix::cli::RecordingStatistics result;
  qrix::RecorderFault fault;
  bool ok = true;
  const double statistics = bestSeconds([&] {
    ok = ok &&
         qrix::cli::recordingStatistics(path, qrix::cli::StatsLimits{2, 1700, 1730}, result, fault);
  });
  std::filesystem::remove_all(dir);
  if (!ok || result.columns[2].n != kLines || counted != kLines + 4) {
    std::fprintf(stderr, "stats file: read failed: %s\n", qrix::faultText(path, fault).c_str());
    return 1;
  }
  const double plainRate = kLines / plain, statsRate = kLines / statistics;
  std::printf(
      "stats file: %llu lines; plain read %.3f s = %.0f lines/s; statistics read %.3f s = %.0f "
      "lines/s (target >= 2e6), %.2f of the plain read's rate\n",
      static_cast<unsigned long long>(kLines), plain, plainRate, statistics, statsRate,
      statsRate / plainRate);
  return statsRate >= 2e6 ? 0 : 1;
}
