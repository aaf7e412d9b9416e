#pragma once
// Frame transport over the open port: the receive notification, the request every exchange
// starts with, and the one wait by which every exchange waits for its answer.

#include <cstdint>
#include <functional>
#include <vector>

#include "program/parameter.h"
#include "program/program_state.h"
#include "qrix/link/frame_reader.h"
#include "qrix/link/link_health.h"

namespace qrix {

struct Program;

// Receive notification: hands the queued bytes to the frame reader; when they complete a frame,
// unpacks it, raises rx_flag and discards whatever else is queued. Runs only inside the event
// pump.
void RX_Receive_Function(Program& p, int port, int mask);
// Installs the receive notification on the port, or switches it off.
void installReceiveNotification(Program& p, int port);
void removeReceiveNotification(Program& p, int port);

// The order in which both queues are discarded before a request; the sensor does not care, the
// order is kept per exchange so that the calls on the line stay as they always were.
enum class Discard {
  // Stale answers first, then unsent bytes: frame exchanges (GET, SEND, RUN, teach, reset,
  // firmware text, recorder, flash).
  InputFirst,
  // Unsent bytes first, then stale answers: the line check, the hardware information and the
  // 128-byte block reads, and handing the line back after a block transfer.
  OutputFirst,
};
void discardQueues(Program& p, Discard order);
// Discards the input queue and the bytes the frame reader holds.
void discardInput(Program& p);

// One request: discards both queues, clears rx_flag, packs command, argument and payload into
// szWriteBuf and writes the 36 bytes. Returns the count written (36 when all were queued).
int sendRequest(Program& p, Discard order, std::uint16_t command, std::uint16_t argument,
                const WordArray& payload);
// Writes the packed request (36 bytes) and keeps the count in nBytesW.
int writeFrame(Program& p);

// How a pump takes the last bytes of a frame: one pump each, so that what follows the frame on
// the line is not taken with it; or with the rest, for an answer that nothing follows until
// the next request (RUN's).
enum class LastBytes { OnePumpEach, AllInOnePump };
// Pumps events once. Before any byte of an answer frame is in, waits for the first one (at most
// a few milliseconds). While part of it is in, first sleeps while the bytes it still needs can
// come (at most a few milliseconds; all but the last few with LastBytes::OnePumpEach), so that one
// pump takes them in rather than one pump for each byte. Neither waits past `deadline` (in
// Timer() seconds), where the caller's time-out falls.
void pumpForFrame(Program& p, double deadline, LastBytes last = LastBytes::OnePumpEach);

// How a wait passes its time: pumping events (where the receive notification, STOP and other
// callbacks run), or sleeping a millisecond without pumping, for answers read from the queue.
enum class WaitMode { PumpEvents, SleepOnly };
// Waits until `done` holds (true) or `seconds` pass (false). Decided by the condition, not by
// the clock: an answer that arrived in the same pass as the time-out counts.
bool waitUntil(Program& p, double seconds, const std::function<bool()>& done,
               WaitMode mode = WaitMode::PumpEvents);

// What ends the wait for an answer frame.
enum class Accept {
  AnyFrame,   // any frame, also one out of step: the sensor's acknowledgements
  OwnEcho,    // only a frame in step that echoes the request's command
  RunAnswer,  // only a RUN answer; a RUN request in flight may also bring it
};

// The answer to one request, as a value.
struct Reply {
  link::Outcome outcome = link::Outcome::TimedOut;
  link::ReceivedFrame frame;  // when answered
  bool answered() const { return outcome == link::Outcome::Answered; }
  // The frame's words as the receive notification unpacks them into pp.
  WordArray words() const;
};

// The one exchange every frame request uses: sends the request (as sendRequest), then waits for
// the answer that `accept` takes, pumping events, for at most `timeout`. A frame it does not take
// is left unanswered (the wait goes on). The outcome is counted in the link health under `kind`.
Reply exchangeFrame(Program& p, link::ExchangeKind kind, Discard order, std::uint16_t command,
                    std::uint16_t argument, const WordArray& payload, Accept accept,
                    double timeout = TIMEOUT);
// The wait of an exchange whose request has gone out already.
Reply awaitFrame(Program& p, link::ExchangeKind kind, std::uint16_t command, Accept accept,
                 double timeout = TIMEOUT);

// A raw answer of a fixed length (the firmware text, a data block), read from the input queue
// with the receive notification off. Once the length is queued the line is watched for a few
// byte times more: bytes beyond the length (noise ahead of the answer, a surplus) mean the
// answer cannot be trusted.
struct RawReply {
  link::Outcome outcome = link::Outcome::TimedOut;
  int queued = 0;                   // bytes that were waiting when the wait ended
  std::vector<std::uint8_t> bytes;  // every byte read (at most the read buffer's size)
  bool answered() const { return outcome == link::Outcome::Answered; }
};
RawReply awaitRaw(Program& p, link::ExchangeKind kind, int length, WaitMode mode);

// True when the open port's device went away (cable pulled, pseudo-terminal closed).
bool serialLineLost(Program& p);

// Seconds since `start` on the runtime clock.
double elapsedSince(Program& p, double start);

}  // namespace qrix
