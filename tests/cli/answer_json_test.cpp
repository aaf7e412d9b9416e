// A RUN answer as monitor hands it on: the fields the window shows, under their names, the
// judgement against an asymmetric window with its limits inside, and the time in UTC to the
// millisecond.

#include "cli/answer_json.h"

#include <gtest/gtest.h>

namespace qrix::cli {
namespace {

using std::chrono::microseconds;
using std::chrono::system_clock;

// 2026-12-09T14:20:01.123999Z.
const system_clock::time_point kAt{microseconds(1796826001123999)};

RunValues answerOf(std::uint16_t mvalue) {
  RunValues v;
  v.answer.Aval = 1201;
  v.answer.Bval = 2874;
  v.answer.Mvalue = mvalue;
  v.answer.umValue = -3125;
  // The window is [1530, 1640]: 70 below the target, 40 above.
  v.tVal = 1600;
  v.tolup = 40;
  v.tollo = 70;
  v.MvalueHeld = 9;
  return v;
}

TEST(AnswerJson, NamesTheEdgesTheValuesAndTheJudgementInTheirOrder) {
  EXPECT_EQ(answerJsonLine(answerOf(1641), 7, kAt),
            R"({"time": "2026-12-09T14:20:01.123Z", "seq": 7, "master_edge": 1201, )"
            R"("slave_edge": 2874, "value_px": 1641, "value_um": -3125, "judgement": "above"})");
  const struct {
    std::uint16_t value;
    const char* judgement;
  } cases[] = {{1640, "inside"}, {1530, "inside"}, {1529, "below"}, {1600, "inside"}};
  for (const auto& c : cases) {
    const std::string line = answerJsonLine(answerOf(c.value), 1, kAt);
    EXPECT_NE(line.find(std::string(R"("judgement": ")") + c.judgement + "\"}"), std::string::npos)
        << line;
  }
}

TEST(AnswerJson, TimeIsUtcWithMillisecondsCutNotRounded) {
  EXPECT_EQ(isoTimeUtc(kAt), "2026-12-09T14:20:01.123Z");
  EXPECT_EQ(isoTimeUtc(system_clock::time_point{microseconds(1796860799999999)}),
            "2026-12-09T23:59:59.999Z");
  EXPECT_EQ(isoTimeUtc(system_clock::time_point{}), "1970-01-01T00:00:00.000Z");
}

}  // namespace
}  // namespace qrix::cli
