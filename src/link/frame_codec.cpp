#include "link/frame_codec.h"

#include "link/commands.h"

namespace qrix {

namespace {
void putWord(std::uint8_t* bytes, int i, std::uint16_t w) {
  bytes[i] = static_cast<std::uint8_t>(w >> 8);
  bytes[i + 1] = static_cast<std::uint8_t>(w & 0xFF);
}
}  // namespace

void FillTxBuf(ProgramState& st, std::uint16_t command, std::uint16_t argument,
               const WordArray& words) {
  std::uint8_t* b = st.szWriteBuf.data();
  putWord(b, 0, cmd::kTxSync);
  putWord(b, 2, command);
  putWord(b, 4, argument);
  for (int k = 0; k < kFrameWords; ++k) putWord(b, 6 + 2 * k, words[static_cast<size_t>(k)]);
}

std::uint16_t rxEcho(const ProgramState& st) {
  return wordAt(st.szReadBuf.data(), 2);
}

bool rxInSync(const ProgramState& st) {
  return wordAt(st.szReadBuf.data(), 0) == cmd::kRxSync;
}

int GetRxBuf(ProgramState& st) {
  const std::uint8_t* b = st.szReadBuf.data();
  if (rxEcho(st) == cmd::kRun) {
    for (int k = 0; k < kPpWords; ++k) st.pp[static_cast<size_t>(k)] = wordAt(b, 4 + 2 * k);
    return 1;
  }
  for (int k = 0; k < kFrameWords; ++k) st.pp[static_cast<size_t>(k)] = wordAt(b, 6 + 2 * k);
  return 0;
}

}  // namespace qrix
