// The 36-byte request and answer layouts: packing of command, argument and payload high byte
// first, and the two ways an answer is unpacked (RUN answers from byte 4, all others from 6).

#include "program/frame_codec.h"

#include <gtest/gtest.h>

namespace qrix {
namespace {

TEST(FrameCodec, RequestIsSyncCommandArgumentAndFifteenWordsHighByteFirst) {
  ProgramState st;
  WordArray pp{};
  for (int k = 0; k < 16; ++k) {
    pp[static_cast<size_t>(k)] = static_cast<std::uint16_t>(0x0100 * k + 0xA0);
  }
  FillTxBuf(st, 0x0109, 0x0040, pp);
  std::vector<std::uint8_t> expected = {0x00, 0x55, 0x01, 0x09, 0x00, 0x40};
  for (int k = 0; k < 15; ++k) {
    expected.insert(expected.end(), {static_cast<std::uint8_t>(k), 0xA0});
  }
  EXPECT_EQ(std::vector<std::uint8_t>(st.szWriteBuf.begin(), st.szWriteBuf.begin() + 36), expected);
}

TEST(FrameCodec, RunAnswersFillSixteenWordsFromByteFourOthersFifteenFromByteSix) {
  struct Case {
    std::uint8_t echo;
    int result, firstByte, words;
  };
  for (Case c : {Case{8, 1, 4, 16}, Case{2, 0, 6, 15}}) {
    ProgramState st;
    st.pp.fill(0x7777);
    for (size_t b = 0; b < 36; ++b) {
      st.szReadBuf[b] = static_cast<std::uint8_t>(b);
    }
    st.szReadBuf[2] = 0;
    st.szReadBuf[3] = c.echo;
    EXPECT_EQ(GetRxBuf(st), c.result);
    for (int k = 0; k < 16; ++k) {
      const int b = c.firstByte + 2 * k;
      const int expected = k < c.words ? (b << 8 | (b + 1)) : 0x7777;  // word 15 kept
      EXPECT_EQ(st.pp[static_cast<size_t>(k)], expected) << "echo " << int{c.echo} << " word " << k;
    }
  }
}

}  // namespace
}  // namespace qrix
