// The simulator's request framer: the PC's bytes in any pieces, with pauses around the 50 ms
// after which a half request is abandoned.
//
// The input is a series of pieces, each a header byte and then its bytes: bits 0-5 the length
// (0..63), bit 6 a pause before the piece given by the next byte (below 128: 0..40 ms, which
// keeps a half request; from 128 on: 60 ms and more, which abandons it).
//
// Promises checked:
// - every request comes from 36 bytes that the PC sent one after the other, with no pause that
//   abandons a half request among them, starting with the request sync word and a known command;
// - no byte is lost or counted twice: requests and discarded bytes account for everything but
//   less than one request still pending;
// - the pieces do not matter: the same bytes handed over in one piece per stretch without such
//   a pause give the same requests.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "qrix/sim/request_framer.hpp"
#include "support/fuzz_check.h"

namespace {

using qrix::sim::Request;
using qrix::sim::RequestFramer;
using Bytes = std::vector<std::uint8_t>;

struct Piece {
  double at;  // seconds
  Bytes bytes;
};

std::vector<Piece> parsePieces(const std::uint8_t* data, std::size_t size) {
  std::vector<Piece> pieces;
  double now = 1.0;
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t header = data[i++];
    if ((header & 0x40) && i < size) {
      const std::uint8_t pause = data[i++];
      now += pause < 128 ? (pause % 41) * 0.001 : (60 + pause) * 0.001;
    }
    const std::size_t length = std::min<std::size_t>(header & 0x3F, size - i);
    pieces.push_back({now, Bytes(data + i, data + i + length)});
    i += length;
  }
  return pieces;
}

Bytes encode(const Request& r) {
  Bytes b{0x00,
          0x55,
          std::uint8_t(r.command >> 8),
          std::uint8_t(r.command),
          std::uint8_t(r.argument >> 8),
          std::uint8_t(r.argument)};
  for (std::uint16_t w : r.payload) {
    b.push_back(std::uint8_t(w >> 8));
    b.push_back(std::uint8_t(w));
  }
  return b;
}

bool contains(const Bytes& stretch, const Bytes& frame) {
  return std::search(stretch.begin(), stretch.end(), frame.begin(), frame.end()) != stretch.end();
}

bool sameRequests(const std::vector<Request>& a, const std::vector<Request>& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].command != b[i].command || a[i].argument != b[i].argument ||
        a[i].payload != b[i].payload) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<Piece> pieces = parsePieces(data, size);

  RequestFramer framer;
  std::vector<Request> requests;
  // The bytes of each stretch between pauses that abandon a half request, and when it began.
  std::vector<Piece> stretches;
  double last = 0;
  std::size_t total = 0;
  for (const Piece& piece : pieces) {
    if (stretches.empty() || piece.at - last > RequestFramer::kAbandonGap) {
      stretches.push_back({piece.at, {}});
    }
    last = piece.at;
    stretches.back().bytes.insert(stretches.back().bytes.end(), piece.bytes.begin(),
                                  piece.bytes.end());
    total += piece.bytes.size();
    for (const Request& r : framer.push(piece.bytes, piece.at)) {
      requests.push_back(r);
    }
  }

  for (const Request& r : requests) {
    FUZZ_CHECK(qrix::sim::isKnownCommand(r.command), "a request carries a known command");
    const Bytes frame = encode(r);
    FUZZ_CHECK(std::any_of(stretches.begin(), stretches.end(),
                           [&](const Piece& s) { return contains(s.bytes, frame); }),
               "a request is 36 bytes sent without a pause that abandons it");
  }
  const std::size_t accounted = requests.size() * qrix::sim::kFrameSize + framer.discardedBytes();
  FUZZ_CHECK(accounted <= total && total - accounted < qrix::sim::kFrameSize,
             "every byte is part of a request, discarded, or pending");

  RequestFramer whole;
  std::vector<Request> wholeRequests;
  for (const Piece& s : stretches) {
    for (const Request& r : whole.push(s.bytes, s.at)) {
      wholeRequests.push_back(r);
    }
  }
  FUZZ_CHECK(sameRequests(requests, wholeRequests), "the pieces do not change the requests");
  return 0;
}
