#include "link/transport.h"

#include <algorithm>

#include "link/frame_codec.h"
#include "shell/program.h"

namespace qrix {

void RX_Receive_Function(Program& p, int port, int mask) {
  if (!(mask & serial::LWRS_RECEIVE)) return;
  ProgramState& st = p.st;
  st.nBytesR = p.serial().ComRd(port, st.szReadBuf.data(), kFrameBytes);
  if (st.nBytesR < kFrameBytes) return;  // the line failed under us; no frame to take
  st.graph_flag = GetRxBuf(st);
  st.rx_flag = 1;
  p.serial().FlushInQ(port);
}

void installReceiveNotification(Program& p, int port) {
  p.serial().InstallComCallback(
      port, eventMask, kFrameBytes, 0x55,
      [&p](int com, int mask, void*) { RX_Receive_Function(p, com, mask); }, nullptr);
}

void removeReceiveNotification(Program& p, int port) {
  p.serial().InstallComCallback(port, eventMask, kFrameBytes, 0x55, nullptr, nullptr);
}

int writeFrame(Program& p) {
  p.st.nBytesW = p.serial().ComWrt(p.st.com, p.st.szWriteBuf.data(), kFrameBytes);
  return p.st.nBytesW;
}

void flushInOut(Program& p) {
  p.serial().FlushInQ(p.st.com);
  p.serial().FlushOutQ(p.st.com);
}

void flushOutIn(Program& p) {
  p.serial().FlushOutQ(p.st.com);
  p.serial().FlushInQ(p.st.com);
}

double elapsedSince(Program& p, double start) {
  return p.rt.Timer() - start;
}

int WaitRxFull(Program& p) {
  const double start = p.rt.Timer();
  for (;;) {
    p.pump();
    if (p.st.rx_flag == 1) return 1;
    if (elapsedSince(p, start) > TIMEOUT) {
      p.setStatus("Timeout-RS-232...");
      return 0;
    }
  }
}

}  // namespace qrix
