// Cutting the PC's byte stream into requests: pieces, several requests at
// once, noise and false headers ahead of a request, and half frames that
// must not be completed with bytes of the next request.

#include "qrix/sim/request_framer.hpp"

#include <gtest/gtest.h>

#include "sim_test_support.hpp"

namespace qrix::sim {
namespace {

using test::ByteVector;
using test::request;

ByteVector concat(std::initializer_list<ByteVector> parts) {
  ByteVector all;
  for (const auto& p : parts) {
    all.insert(all.end(), p.begin(), p.end());
  }
  return all;
}

TEST(RequestFramer, AssemblesARequestThatArrivesOneByteAtATime) {
  RequestFramer framer;
  const ByteVector bytes = request(5);
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
    EXPECT_TRUE(framer.push({&bytes[i], 1}, i * kByteTime).empty()) << "byte " << i;
  }
  EXPECT_EQ(framer.push({&bytes.back(), 1}, 0.1 * kByteTime * bytes.size()).size(), 1u);
}

TEST(RequestFramer, SplitsTwoRequestsThatArriveTogether) {
  RequestFramer framer;
  const auto requests = framer.push(concat({request(2, 1), request(2, 2)}), 0.0);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].argument, 2);
}

TEST(RequestFramer, SkipsNoiseAndFalseHeadersBeforeARequest) {
  // 00 55 followed by a command the sensor does not know is no header.
  RequestFramer framer;
  const ByteVector noise{0x55, 0xAA, 0x00, 0x00, 0x55, 0x12, 0x00, 0x55, 0x00};
  const auto requests = framer.push(concat({noise, request(10)}), 0.0);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].command, 10);
  EXPECT_EQ(framer.discardedBytes(), noise.size());
}

TEST(RequestFramer, DropsAHalfFrameAfterAPauseInsteadOfCompletingItWithTheNextRequest) {
  RequestFramer framer;
  const ByteVector first = request(2, 1);
  EXPECT_TRUE(framer.push({first.data(), 20}, 0.0).empty());
  const auto requests = framer.push(request(5), 0.5);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].command, 5);
  EXPECT_EQ(framer.discardedBytes(), 20u);
}

}  // namespace
}  // namespace qrix::sim
