#include "support/fed_line.h"

#include <algorithm>

#include "program/program_state.h"

namespace qrix::fuzz {

std::vector<Reply> parseReplies(const std::uint8_t* data, std::size_t size) {
  std::vector<Reply> replies;
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t header = data[i++];
    Piece piece;
    if ((header & 0x40) && i < size) {
      piece.pause = data[i++] * 0.01;
    }
    const std::size_t length = std::min<std::size_t>(header & 0x3F, size - i);
    piece.bytes.assign(data + i, data + i + length);
    i += length;
    if (replies.empty() || (header & 0x80)) {
      replies.emplace_back();
    }
    replies.back().push_back(std::move(piece));
  }
  return replies;
}

FedLine::FedLine(std::vector<Reply> replies, std::shared_ptr<LineLog> log,
                 serial::TimedByteQueue::Clock clock)
    : TimedInputDevice(std::move(clock)), replies_(std::move(replies)), log_(std::move(log)) {}

std::size_t FedLine::write(const std::uint8_t* data, std::size_t n) {
  pending_.insert(pending_.end(), data, data + n);
  while (pending_.size() >= static_cast<std::size_t>(kFrameBytes)) {
    log_->requests.emplace_back(pending_.begin(), pending_.begin() + kFrameBytes);
    pending_.erase(pending_.begin(), pending_.begin() + kFrameBytes);
    // The request takes its time on the line; its reply follows it.
    const double requestEnd = input_.now() + kFrameBytes * kByteSeconds;
    if (log_->requestsAnswered >= replies_.size()) {
      continue;
    }
    double at = std::max(requestEnd, lineFree_);
    for (const Piece& piece : replies_[log_->requestsAnswered]) {
      at += piece.pause;
      for (std::uint8_t b : piece.bytes) {
        at += kByteSeconds;
        input_.arriveAt(at, b);
      }
    }
    lineFree_ = at;
    ++log_->requestsAnswered;
  }
  return n;
}

std::size_t FedLine::read(std::uint8_t* data, std::size_t n) {
  const std::size_t got = TimedInputDevice::read(data, n);
  log_->reads.push_back({n, std::vector<std::uint8_t>(data, data + got)});
  return got;
}

}  // namespace qrix::fuzz
