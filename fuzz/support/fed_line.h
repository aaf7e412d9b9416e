#pragma once
// A serial line whose sensor side is a fuzz input: after each request the program writes, the
// next reply of the input arrives, in the pieces and after the pauses the input chooses. The
// line keeps a log of what the program wrote and read, for the harness's checks.
//
// The input is a series of pieces, each a header byte and then its bytes:
//   bits 0-5  the piece's length, 0..63 bytes
//   bit 6     a pause before the piece: the byte after the header gives it in steps of 10 ms
//             (0..2.55 s, so past every time-out); without it the piece follows on the line
//   bit 7     the piece starts the reply to the next request
// The first piece answers the first request. Each byte takes its 10/19200 s on the line.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/timed_byte_queue.h"

namespace qrix::fuzz {

struct Piece {
  double pause = 0;  // seconds before its first byte starts
  std::vector<std::uint8_t> bytes;
};
using Reply = std::vector<Piece>;

// The replies of an input, in the order of the requests they answer.
std::vector<Reply> parseReplies(const std::uint8_t* data, std::size_t size);

// What went over the line, for the checks.
struct LineLog {
  std::vector<std::vector<std::uint8_t>> requests;
  // Each read: the count the program asked for and the bytes it got.
  struct Read {
    std::size_t asked;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Read> reads;
  std::size_t requestsAnswered = 0;  // replies released so far
};

class FedLine : public serial::TimedInputDevice {
 public:
  FedLine(std::vector<Reply> replies, std::shared_ptr<LineLog> log,
          serial::TimedByteQueue::Clock clock);

  std::size_t write(const std::uint8_t* data, std::size_t n) override;
  std::size_t read(std::uint8_t* data, std::size_t n) override;

 private:
  std::vector<Reply> replies_;
  std::shared_ptr<LineLog> log_;
  std::vector<std::uint8_t> pending_;  // request bytes not yet making up 36
  double lineFree_ = 0;                // when the sensor side's last byte has arrived
};

}  // namespace qrix::fuzz
