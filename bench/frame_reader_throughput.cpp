// The frame reader alone on one core: a 10 MB stream of answer frames, each behind a few random
// bytes of noise, pushed in 4 KB chunks as a serial driver would hand them over. Prints the
// time against the target of 0.1 s and the frames it found against those in the stream.

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "qrix/link/frame_reader.h"

int main() {
  constexpr std::size_t kStreamBytes = 10u << 20;
  constexpr std::size_t kChunk = 4096;
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255), noise(0, 6);
  std::vector<std::uint8_t> stream;
  stream.reserve(kStreamBytes + 64);
  std::size_t frames = 0;
  while (stream.size() < kStreamBytes) {
    for (int n = noise(rng); n > 0; --n) {
      stream.push_back(static_cast<std::uint8_t>(byte(rng)));
    }
    const std::uint8_t head[] = {0x00, 0xAA, 0x00, 0x08};
    stream.insert(stream.end(), head, head + 4);
    for (int k = 4; k < 36; ++k) {
      stream.push_back(static_cast<std::uint8_t>(byte(rng)));
    }
    ++frames;
  }

  qrix::link::FrameReader reader;
  std::size_t found = 0;
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t at = 0; at < stream.size(); at += kChunk) {
    reader.push(stream.data() + at, std::min(kChunk, stream.size() - at));
    while (auto f = reader.next()) {
      found += f->inSync;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "frame reader: %.1f MB in %.4f s = %.0f MB/s, %.2f of the 0.1 s target; %zu of %zu "
      "frames, %llu bytes dropped\n",
      stream.size() / 1048576.0, seconds, stream.size() / 1048576.0 / seconds, seconds / 0.1, found,
      frames, static_cast<unsigned long long>(reader.droppedBytes()));
  return 0;
}
