#include "program/run_answer.h"

#include "program/frame_codec.h"

namespace qrix {

RunAnswer decodeRunWords(const WordArray& w) {
  RunAnswer a;
  a.Aval = w[0];
  a.Bval = w[1];
  a.Mvalue = w[2];
  // Word 3 is the low half, word 4 the high half of the signed micrometre value.
  a.umValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(w[4]) << 16 | w[3]);
  a.poti = w[5];
  a.edcntA = w[6];
  a.edcntB = w[7];
  a.peakwA = w[8];
  a.peakwB = w[9];
  a.anaMax = w[10];
  a.anaMin = w[11];
  a.teachA = w[12];
  a.teachB = w[13];
  a.raw15 = w[14];
  a.instate = w[15];
  return a;
}

RunAnswer decodeRunAnswer(std::span<const std::uint8_t, 36> frame) {
  WordArray words{};
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] = wordAt(frame.data(), static_cast<int>(4 + 2 * i));
  }
  return decodeRunWords(words);
}

}  // namespace qrix
