// The 36-byte request and answer layouts: packing of command, argument and payload, and the
// two ways an answer is unpacked (RUN answers from byte 4, all others from byte 6).

#include "link/frame_codec.h"

#include <gtest/gtest.h>

namespace qrix {
namespace {

std::vector<std::uint8_t> sent(const ProgramState& st) {
  return {st.szWriteBuf.begin(), st.szWriteBuf.end()};
}

TEST(FrameCodec, RequestStartsWithSyncCommandAndArgumentHighByteFirst) {
  ProgramState st;
  WordArray pp{};
  FillTxBuf(st, 2, 2, pp);
  EXPECT_EQ(sent(st)[0], 0x00);
  EXPECT_EQ(sent(st)[1], 0x55);
  EXPECT_EQ(sent(st)[2], 0x00);
  EXPECT_EQ(sent(st)[3], 0x02);
  EXPECT_EQ(sent(st)[4], 0x00);
  EXPECT_EQ(sent(st)[5], 0x02);
}

TEST(FrameCodec, SetpointOccupiesTheLastFourBytes) {
  ProgramState st;
  CopyVarsToPP(st.parameter, 0, st.pp);
  FillTxBuf(st, 1, 0, st.pp);
  EXPECT_EQ(sent(st)[32], 0x3E);
  EXPECT_EQ(sent(st)[33], 0x80);
  EXPECT_EQ(sent(st)[34], 0x00);
  EXPECT_EQ(sent(st)[35], 0x00);
}

TEST(FrameCodec, BlockRequestForTheSlaveDataBufferSecondHalf) {
  ProgramState st;
  WordArray request{};
  request[0] = 3;
  FillTxBuf(st, 9, 64, request);
  const std::vector<std::uint8_t> head(st.szWriteBuf.begin() + 2, st.szWriteBuf.begin() + 8);
  EXPECT_EQ(head, (std::vector<std::uint8_t>{0x00, 0x09, 0x00, 0x40, 0x00, 0x03}));
  for (int i = 8; i < 36; ++i) EXPECT_EQ(st.szWriteBuf[static_cast<size_t>(i)], 0) << i;
}

TEST(FrameCodec, RunAnswerFillsAllSixteenWordsFromByteFour) {
  ProgramState st;
  st.pp.fill(0);
  st.szReadBuf[0] = 0x00;
  st.szReadBuf[1] = 0xAA;
  st.szReadBuf[2] = 0x00;
  st.szReadBuf[3] = 0x08;
  for (int k = 0; k < 16; ++k) {
    st.szReadBuf[static_cast<size_t>(4 + 2 * k)] = static_cast<std::uint8_t>(k);
    st.szReadBuf[static_cast<size_t>(5 + 2 * k)] = static_cast<std::uint8_t>(0x10 + k);
  }
  EXPECT_EQ(GetRxBuf(st), 1);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(st.pp[static_cast<size_t>(k)], (k << 8) | (0x10 + k));
}

TEST(FrameCodec, OtherAnswersFillFifteenWordsFromByteSixAndKeepWord15) {
  ProgramState st;
  st.pp.fill(0x7777);
  st.szReadBuf.fill(0);
  st.szReadBuf[3] = 0x02;
  st.szReadBuf[4] = 0xFF;  // the reply word is skipped
  st.szReadBuf[5] = 0xFF;
  for (int k = 0; k < 15; ++k)
    st.szReadBuf[static_cast<size_t>(7 + 2 * k)] = static_cast<std::uint8_t>(k + 1);
  EXPECT_EQ(GetRxBuf(st), 0);
  for (int k = 0; k < 15; ++k) EXPECT_EQ(st.pp[static_cast<size_t>(k)], k + 1);
  EXPECT_EQ(st.pp[15], 0x7777);
}

}  // namespace
}  // namespace qrix
