#pragma once
// Frame transport over the open port: the receive notification, writing a packed request, and
// the one rule by which every exchange waits for its answer.

#include <cstdint>

namespace qrix {

struct Program;

// Receive notification: with at least 36 bytes queued, reads one frame, unpacks it, raises
// rx_flag and discards whatever else is queued. Runs only inside the event pump.
void RX_Receive_Function(Program& p, int port, int mask);
// Installs the receive notification on the port, or switches it off.
void installReceiveNotification(Program& p, int port);
void removeReceiveNotification(Program& p, int port);

// Writes the packed request (36 bytes) and keeps the count in nBytesW.
int writeFrame(Program& p);
// Discards both queues of the current port, input first.
void flushInOut(Program& p);
void flushOutIn(Program& p);

// Waits until rx_flag rises (1) or TIMEOUT passes (0, "Timeout-RS-232..."). An answer that
// arrived counts even if the clock passed the time-out in the same pass.
int WaitRxFull(Program& p);

// Seconds since `start` on the runtime clock.
double elapsedSince(Program& p, double start);

}  // namespace qrix
