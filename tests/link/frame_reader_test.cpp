// The frame reader on its own: clean frames in every chunking, noise ahead of frames, a sync
// pair inside a payload, a cut frame followed by a whole one, a line that never shows the sync
// word, what it counts as dropped, and dropped bytes forgotten once the frame after them is taken.

#include "qrix/link/frame_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrix::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An answer frame with the given echo whose payload words are seed, seed+1, ...
Bytes frame(std::uint16_t echo, std::uint16_t seed) {
  Bytes b{0x00, 0xAA, static_cast<std::uint8_t>(echo >> 8), static_cast<std::uint8_t>(echo)};
  for (std::uint16_t w = 0; w < 16; ++w) {
    const auto word = static_cast<std::uint16_t>(seed + w);
    b.push_back(static_cast<std::uint8_t>(word >> 8));
    b.push_back(static_cast<std::uint8_t>(word));
  }
  return b;
}

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) {
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

struct Taken {
  std::vector<Bytes> inSync;
  std::size_t outOfStep = 0;
};

// Feeds the stream `chunk` bytes at a time, taking every frame as soon as it is whole.
Taken feed(FrameReader& reader, const Bytes& stream, std::size_t chunk) {
  Taken taken;
  for (std::size_t at = 0; at < stream.size(); at += chunk) {
    reader.push(stream.data() + at, std::min(chunk, stream.size() - at));
    while (auto f = reader.next()) {
      if (f->inSync) {
        taken.inSync.emplace_back(f->bytes.begin(), f->bytes.end());
      } else {
        ++taken.outOfStep;
      }
    }
  }
  return taken;
}

TEST(FrameReader, TakesCleanFramesWholeInEveryChunking) {
  // Frame 2's payload holds the sync word followed by a frame echo (0x00AA, 0x0008), which must
  // not be taken for the start of a frame.
  Bytes tricky = frame(2, 0);
  tricky[6] = 0x00, tricky[7] = 0xAA, tricky[8] = 0x00, tricky[9] = 0x08;
  const std::vector<Bytes> frames = {frame(8, 100), tricky, frame(10, 0x00AA), frame(5, 7)};
  const Bytes stream = join({frames[0], frames[1], frames[2], frames[3]});
  for (std::size_t chunk : {1u, 2u, 3u, 5u, 35u, 36u, 37u, 71u, 144u}) {
    FrameReader reader;
    const Taken taken = feed(reader, stream, chunk);
    EXPECT_EQ(taken.inSync, frames) << "chunk " << chunk;
    EXPECT_EQ(taken.outOfStep, 0u) << "chunk " << chunk;
    EXPECT_EQ(reader.droppedBytes(), 0u) << "chunk " << chunk;
    EXPECT_EQ(reader.buffered(), 0u);
  }
}

TEST(FrameReader, DropsAndCountsWhatComesAheadOfAFrame) {
  const Bytes cut = frame(8, 0x00AA);
  struct Case {
    const char* what;
    Bytes ahead;
  } cases[] = {
      {"noise", {0x13, 0xFE, 0x00}},
      {"a sync word with no frame echo", {0x00, 0xAA, 0x00, 0x63}},
      {"the tail of a cut answer", Bytes(cut.begin() + 9, cut.end())},
      {"a lone zero", {0x00}},
  };
  for (const Case& c : cases) {
    for (std::size_t chunk : {1u, 4u, 64u}) {
      FrameReader reader;
      const Taken taken = feed(reader, join({c.ahead, frame(2, 9), frame(8, 1)}), chunk);
      EXPECT_EQ(taken.inSync, (std::vector<Bytes>{frame(2, 9), frame(8, 1)}))
          << c.what << ", chunk " << chunk;
      EXPECT_EQ(taken.outOfStep, 0u) << c.what;
      EXPECT_EQ(reader.droppedBytes(), c.ahead.size()) << c.what << ", chunk " << chunk;
    }
  }
}

TEST(FrameReader, ALineWithoutTheSyncWordYieldsFramesOutOfStep) {
  Bytes wrong = frame(5, 3);
  wrong[1] = 0xAB;
  wrong[35] = 0x00;  // a last byte that could begin a sync word
  FrameReader reader;
  const Taken taken = feed(reader, join({wrong, wrong, Bytes(10, 0x55)}), 7);
  EXPECT_TRUE(taken.inSync.empty());
  EXPECT_EQ(taken.outOfStep, 2u);  // one per 36 bytes; the last 10 wait for more
  EXPECT_EQ(reader.droppedBytes(), 82u);
  // The first frame out of step hands over the bytes as they came.
  FrameReader again;
  again.push(wrong.data(), wrong.size());
  const auto stray = again.next();
  ASSERT_TRUE(stray);
  EXPECT_FALSE(stray->inSync);
  EXPECT_EQ(Bytes(stray->bytes.begin(), stray->bytes.end()), wrong);
}

// Bytes dropped ahead of a frame belong to no later frame out of step: 20 bytes of noise, a
// frame, then 20 bytes more make no frame, where 40 dropped bytes in a row would make one.
TEST(FrameReader, ForgetsTheBytesDroppedAheadOfAFrameOnceItIsTaken) {
  const Bytes noise(20, 0x55);
  for (std::size_t chunk : {1u, 20u, 76u}) {
    FrameReader reader;
    const Taken taken = feed(reader, join({noise, frame(5, 3), noise}), chunk);
    EXPECT_EQ(taken.inSync, (std::vector<Bytes>{frame(5, 3)})) << "chunk " << chunk;
    EXPECT_EQ(taken.outOfStep, 0u) << "chunk " << chunk;
    EXPECT_EQ(reader.droppedBytes(), 40u) << "chunk " << chunk;
    // Only the 20 after the frame count towards one out of step.
    EXPECT_EQ(reader.fewestBytesToFrame(), 16u) << "chunk " << chunk;
  }
}

TEST(FrameReader, ClearDiscardsAHalfFrame) {
  FrameReader reader;
  const Bytes f = frame(11, 0);
  reader.push(f.data(), 20);
  EXPECT_FALSE(reader.next());
  reader.clear();
  const Taken taken = feed(reader, join({frame(6, 4)}), 36);
  EXPECT_EQ(taken.inSync, (std::vector<Bytes>{frame(6, 4)}));
}

}  // namespace
}  // namespace qrix::link
