// A RUN answer's bytes to its values, and the stream that hands each answer to its consumers.

#include "program/run_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace qrix {
namespace {

TEST(RunAnswerBytes, EachWordLandsInItsOwnValue) {
  // Sync word, echo 8, then 16 words high byte first; every word differs from every other.
  const std::array<std::uint8_t, 36> frame = {
      0x00, 0xAA, 0x00, 0x08,                          // sync, echo
      0x01, 0x02, 0x03, 0x04, 0x05, 0x06,              // Aval 0x0102, Bval 0x0304, Mvalue
      0xFC, 0x18, 0xFF, 0xFF,                          // umValue low 0xFC18, high 0xFFFF
      0x00, 0x07, 0x00, 0x02, 0x00, 0x01,              // poti, edcntA 2, edcntB 1
      0x00, 0x1E, 0x00, 0x28, 0x07, 0xD0, 0x00, 0x0A,  // peakwA 30, peakwB 40, anaMax, anaMin
      0x04, 0x00, 0x02, 0x00, 0x00, 0x0F, 0x00, 0x03,  // teachA 1024, teachB 512, raw15, instate
  };
  const RunAnswer a = decodeRunAnswer(frame);
  EXPECT_EQ(a.Aval, 0x0102);
  EXPECT_EQ(a.Bval, 0x0304);
  EXPECT_EQ(a.Mvalue, 0x0506);
  EXPECT_EQ(a.umValue, -1000);  // 0xFFFFFC18: the high word comes second
  EXPECT_EQ(a.poti, 7);
  EXPECT_EQ(a.edcntA, 2);
  EXPECT_EQ(a.edcntB, 1);
  EXPECT_EQ(a.peakwA, 30);
  EXPECT_EQ(a.peakwB, 40);
  EXPECT_EQ(a.anaMax, 2000);
  EXPECT_EQ(a.anaMin, 10);
  EXPECT_EQ(a.teachA, 1024);
  EXPECT_EQ(a.teachB, 512);
  EXPECT_EQ(a.raw15, 15);
  EXPECT_EQ(a.instate, 3);
}

class Logging : public RunConsumer {
 public:
  Logging(std::vector<std::string>& log, std::string name, bool more = true)
      : log_(log), name_(std::move(name)), more_(more) {}
  bool take(const RunValues& v) override {
    log_.push_back(name_ + ":" + std::to_string(v.answer.Aval));
    return more_;
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
  bool more_;
};

TEST(RunStream, ConsumersTakeEachAnswerInTheirOrderAndListenOnlyWhileTheirTokenLives) {
  std::vector<std::string> log;
  RunStream stream;
  stream.add(std::make_unique<Logging>(log, "bars"));
  stream.add(std::make_unique<Logging>(log, "chart"));
  RunValues v;
  v.answer.Aval = 1;
  EXPECT_TRUE(stream.publish(v));
  {
    Logging recorder(log, "recorder", false);
    const RunStream::Listening listening = stream.listen(recorder);
    v.answer.Aval = 2;
    // The recorder has enough: the exchange ends, yet every display still took the answer.
    EXPECT_FALSE(stream.publish(v));
  }
  v.answer.Aval = 3;
  EXPECT_TRUE(stream.publish(v));
  EXPECT_EQ(log, (std::vector<std::string>{"bars:1", "chart:1", "bars:2", "chart:2", "recorder:2",
                                           "bars:3", "chart:3"}));
}

}  // namespace
}  // namespace qrix
