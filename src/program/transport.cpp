#include "program/transport.h"

#include <algorithm>
#include <array>

#include "program/frame_codec.h"
#include "program/program.h"

namespace qrix {

void RX_Receive_Function(Program& p, int port, int mask) {
  if (!(mask & serial::LWRS_RECEIVE)) {
    return;
  }
  ProgramState& st = p.st;
  serial::SerialLibrary& com = p.serial();
  std::array<std::uint8_t, kReadBufSize> bytes;
  const int queued = std::min(com.GetInQLen(port), kReadBufSize);
  const int got = queued > 0 ? com.ComRd(port, bytes.data(), queued) : 0;
  if (got <= 0) {
    return;  // the line failed under us; no frame to take
  }
  const std::uint64_t droppedBefore = st.reader.droppedBytes();
  st.reader.push(bytes.data(), static_cast<std::size_t>(got));
  const std::optional<link::ReceivedFrame> frame = st.reader.next();
  st.health.droppedBytes(st.exchangeKind, st.reader.droppedBytes() - droppedBefore);
  if (!frame) {
    return;
  }
  std::copy(frame->bytes.begin(), frame->bytes.end(), st.szReadBuf.begin());
  st.nBytesR = kFrameBytes;
  st.graph_flag = GetRxBuf(st);
  st.rx_flag = 1;
  // One frame per notification: whatever else came with it is discarded.
  discardInput(p);
}

void installReceiveNotification(Program& p, int port) {
  // Every received byte goes to the frame reader at once, so that bytes dropped ahead of a
  // frame never hold a frame back.
  p.serial().InstallComCallback(
      port, eventMask, 1, 0x55,
      [&p](int com, int mask, void*) { RX_Receive_Function(p, com, mask); }, nullptr);
}

void removeReceiveNotification(Program& p, int port) {
  p.serial().InstallComCallback(port, eventMask, 1, 0x55, nullptr, nullptr);
}

void discardInput(Program& p) {
  p.serial().FlushInQ(p.st.com);
  p.st.reader.clear();
}

void discardQueues(Program& p, Discard order) {
  serial::SerialLibrary& com = p.serial();
  if (order == Discard::InputFirst) {
    discardInput(p);
    com.FlushOutQ(p.st.com);
  } else {
    com.FlushOutQ(p.st.com);
    discardInput(p);
  }
}

int writeFrame(Program& p) {
  p.st.nBytesW = p.serial().ComWrt(p.st.com, p.st.szWriteBuf.data(), kFrameBytes);
  return p.st.nBytesW;
}

int sendRequest(Program& p, Discard order, std::uint16_t command, std::uint16_t argument,
                const WordArray& payload) {
  discardQueues(p, order);
  p.st.rx_flag = 0;
  FillTxBuf(p.st, command, argument, payload);
  return writeFrame(p);
}

bool serialLineLost(Program& p) {
  const serial::SerialDevice* device = p.serial().device(p.st.com);
  return device && device->failed();
}

double elapsedSince(Program& p, double start) {
  return p.rt.Timer() - start;
}

void pumpForFrame(Program& p, double deadline, LastBytes last) {
  // The longest wait: the window still answers at once to the eye.
  constexpr double kLongestNap = 0.016;
  // The shortest: a wait of nothing would spin.
  constexpr double kShortestNap = 0.001;
  const double nap = std::clamp(deadline - p.rt.Timer(), kShortestNap, kLongestNap);
  // The last bytes of a frame are taken one pump each, as the line brings them, so that a
  // frame is complete in the pump of its own last byte even when the line is a little early
  // (a pump that starts late, bytes the driver hands over in pairs): what follows a frame in
  // the same pump is discarded with the queue.
  const std::size_t singly = last == LastBytes::OnePumpEach ? 5 : 0;
  const std::size_t missing = p.st.reader.fewestBytesToFrame();
  // Nothing of a frame in yet: wait for the line's first byte, which ends the wait.
  if (missing >= link::kAnswerFrameBytes) {
    p.rt.WaitForEvents(nap);
    return;
  }
  if (missing > singly) {
    p.rt.Delay(std::min(static_cast<double>(missing - singly) * kByteSeconds, nap));
  }
  p.pump();
}

bool waitUntil(Program& p, double seconds, const std::function<bool()>& done, WaitMode mode) {
  const double start = p.rt.Timer();
  for (;;) {
    if (done()) {
      return true;
    }
    if (elapsedSince(p, start) > seconds) {
      return false;
    }
    if (mode == WaitMode::PumpEvents) {
      pumpForFrame(p, start + seconds);
    } else {
      p.rt.Delay(0.001);
    }
  }
}

namespace {

link::ReceivedFrame lastFrame(const ProgramState& st) {
  link::ReceivedFrame f;
  std::copy_n(st.szReadBuf.begin(), link::kAnswerFrameBytes, f.bytes.begin());
  f.inSync = rxInSync(st);
  return f;
}

void count(Program& p, link::ExchangeKind kind, link::Outcome outcome) {
  p.recordExchange(kind, outcome);
}

}  // namespace

Reply exchangeFrame(Program& p, link::ExchangeKind kind, Discard order, std::uint16_t command,
                    std::uint16_t argument, const WordArray& payload, Accept accept,
                    double timeout) {
  p.st.exchangeKind = kind;
  sendRequest(p, order, command, argument, payload);
  return awaitFrame(p, kind, command, accept, timeout);
}

Reply awaitFrame(Program& p, link::ExchangeKind kind, std::uint16_t command, Accept accept,
                 double timeout) {
  ProgramState& st = p.st;
  st.exchangeKind = kind;
  bool wrongEcho = false, outOfStep = false;
  const auto taken = [&] {
    if (accept == Accept::RunAnswer) {
      return st.graph_flag == 1;
    }
    if (st.rx_flag != 1) {
      return false;
    }
    if (accept == Accept::AnyFrame) {
      return true;
    }
    if (rxInSync(st) && rxEcho(st) == command) {
      return true;
    }
    (rxInSync(st) ? wrongEcho : outOfStep) = true;
    st.rx_flag = 0;
    return false;
  };
  Reply reply;
  if (waitUntil(p, timeout, [&] { return taken() || serialLineLost(p); }) && !serialLineLost(p)) {
    reply.outcome = link::Outcome::Answered;
    reply.frame = lastFrame(st);
  } else if (serialLineLost(p)) {
    reply.outcome = link::Outcome::LineLost;
  } else if (wrongEcho) {
    reply.outcome = link::Outcome::WrongEcho;
  } else if (outOfStep) {
    reply.outcome = link::Outcome::OutOfStep;
  }
  // An acknowledgement out of step still ends the wait, but the line did not answer in step.
  count(p, kind,
        reply.answered() && !reply.frame.inSync ? link::Outcome::OutOfStep : reply.outcome);
  return reply;
}

WordArray Reply::words() const {
  WordArray w{};
  unpackFrame(frame.bytes.data(), w);
  return w;
}

RawReply awaitRaw(Program& p, link::ExchangeKind kind, int length, WaitMode mode) {
  ProgramState& st = p.st;
  serial::SerialLibrary& com = p.serial();
  st.exchangeKind = kind;
  RawReply reply;
  const auto queued = [&] { return reply.queued = std::max(0, com.GetInQLen(st.com)); };
  const bool complete = waitUntil(
      p, TIMEOUT, [&] { return queued() >= length || serialLineLost(p); }, mode);
  if (complete && !serialLineLost(p)) {
    // The last byte of the answer is in; more within three byte times would be a surplus.
    const int all = reply.queued;
    waitUntil(
        p, 3 * kByteSeconds, [&] { return queued() > all; }, WaitMode::SleepOnly);
  }
  const int toRead = std::min(reply.queued, kReadBufSize);
  if (toRead > 0) {
    reply.bytes.resize(static_cast<std::size_t>(toRead));
    reply.bytes.resize(
        static_cast<std::size_t>(std::max(0, com.ComRd(st.com, reply.bytes.data(), toRead))));
  }
  if (reply.queued > kReadBufSize) {
    com.FlushInQ(st.com);
  }
  if (serialLineLost(p)) {
    reply.outcome = link::Outcome::LineLost;
  } else if (reply.queued < length) {
    reply.outcome = link::Outcome::TimedOut;
    if (reply.queued > 0) {
      st.health.shortBlock(kind);
    }
  } else if (reply.queued > length) {
    reply.outcome = link::Outcome::OutOfStep;
    st.health.surplusBlock(kind);
  } else if (static_cast<int>(reply.bytes.size()) == length) {
    reply.outcome = link::Outcome::Answered;
  }
  count(p, kind, reply.outcome);
  return reply;
}

}  // namespace qrix
