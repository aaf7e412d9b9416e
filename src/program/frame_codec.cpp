#include "program/frame_codec.h"

#include "qrix/link/commands.h"

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
  for (int k = 0; k < kFrameWords; ++k) {
    putWord(b, 6 + 2 * k, words[static_cast<size_t>(k)]);
  }
}

std::uint16_t rxEcho(const ProgramState& st) {
  return wordAt(st.szReadBuf.data(), 2);
}

bool rxInSync(const ProgramState& st) {
  return wordAt(st.szReadBuf.data(), 0) == cmd::kRxSync;
}

int unpackFrame(const std::uint8_t* b, WordArray& words) {
  if (wordAt(b, 2) == cmd::kRun) {
    for (int k = 0; k < kPpWords; ++k) {
      words[static_cast<size_t>(k)] = wordAt(b, 4 + 2 * k);
    }
    return 1;
  }
  for (int k = 0; k < kFrameWords; ++k) {
    words[static_cast<size_t>(k)] = wordAt(b, 6 + 2 * k);
  }
  return 0;
}

int GetRxBuf(ProgramState& st) {
  return unpackFrame(st.szReadBuf.data(), st.pp);
}

}  // namespace qrix
