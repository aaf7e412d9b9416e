// The Q-DAS value file text byte for byte, the fields left out when unknown, each field's
// refusal in words, and the sample times across a leap day, a year's end and a long recording.

#include "qdas/dfq_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "qdas/dfq_fields.h"
#include "qdas/dfq_time.h"

namespace qrix::qdas {
namespace {

TEST(DfqWriter, DescriptionAndValuesOneFieldPerLine) {
  Description d;
  d.partNumber = "A-4711";
  d.partDescription = "Shaft, turned";
  d.characteristicNumber = "D1";
  d.characteristicDescription = "MVAL[um]";
  d.nominal = 16000;
  d.lower = 15980.5;
  d.upper = 16030;
  d.unit = "um";
  ASSERT_EQ(checkDescription(d), "");
  std::string text = descriptionText(d);
  const ValueSource source{"17", "0004711"};
  ASSERT_EQ(checkValueSource(source), "");
  appendValue(text, 16003, {2026, 3, 14, 15, 9, 26}, source);
  appendValue(text, -25.25, {2026, 3, 14, 15, 9, 27}, source);
  EXPECT_EQ(text,
            "K0100 1\r\n"
            "K1001 A-4711\r\n"
            "K1002 Shaft, turned\r\n"
            "K2001/1 D1\r\n"
            "K2002/1 MVAL[um]\r\n"
            "K2101/1 16000\r\n"
            "K2110/1 15980.5\r\n"
            "K2111/1 16030\r\n"
            "K2142/1 um\r\n"
            "K0001/1 16003\r\n"
            "K0004/1 14.03.2026/15:09:26\r\n"
            "K0008/1 17\r\n"
            "K0012/1 0004711\r\n"
            "K0001/1 -25.25\r\n"
            "K0004/1 14.03.2026/15:09:27\r\n"
            "K0008/1 17\r\n"
            "K0012/1 0004711\r\n");
}

TEST(DfqWriter, FieldsWithoutAValueAreLeftOut) {
  Description d;
  d.partDescription = "recording";
  d.characteristicDescription = "MVAL";
  d.upper = 1730;
  d.unit = "px";
  std::string text = descriptionText(d);
  appendValue(text, 1716, {2028, 2, 29, 0, 0, 0}, {});
  EXPECT_EQ(text,
            "K0100 1\r\nK1001 1\r\nK1002 recording\r\nK2001/1 1\r\nK2002/1 MVAL\r\n"
            "K2111/1 1730\r\nK2142/1 px\r\nK0001/1 1716\r\nK0004/1 29.02.2028/00:00:00\r\n");
}

TEST(DfqWriter, EachFieldRefusesWhatAqdefWouldNotTake) {
  Description d;
  d.partDescription = "p";
  d.characteristicDescription = "c";
  d.unit = "um";
  d.partNumber = std::string(30, 'P');
  EXPECT_EQ(checkDescription(d), "");
  d.partNumber = std::string(31, 'P');
  EXPECT_EQ(checkDescription(d), "K1001 (part number) is 31 characters long; AQDEF allows 30");
  d.partNumber = "1";
  d.partDescription = std::string(81, 'x');
  EXPECT_EQ(checkDescription(d), "K1002 (part description) is 81 characters long; AQDEF allows 80");
  d.partDescription = "p";
  d.characteristicNumber = std::string(41, '9');
  EXPECT_EQ(checkDescription(d),
            "K2001 (characteristic number) is 41 characters long; AQDEF allows 40");
  d.characteristicNumber = "1";
  d.characteristicDescription = "line\r\nK0001/1 5";
  EXPECT_EQ(checkDescription(d),
            "K2002 (characteristic description) holds a control or non-ASCII character; only "
            "printable ASCII is written");
  d.characteristicDescription = "c";
  d.unit = "\xB5m";
  EXPECT_EQ(checkDescription(d),
            "K2142 (unit) holds a control or non-ASCII character; only printable ASCII is "
            "written");
  d.unit = "";
  EXPECT_EQ(checkDescription(d), "K2142 (unit) is empty");
  d.unit = "um";
  d.nominal = std::nan("");
  EXPECT_EQ(checkDescription(d), "K2101 is not a finite number");
  d.nominal = 5;
  d.lower = 7;
  d.upper = 7;
  EXPECT_EQ(checkDescription(d), "K2111 (upper limit) is not above K2110 (lower limit)");

  EXPECT_EQ(checkValueSource({"0123456789", ""}), "");
  EXPECT_EQ(checkValueSource({"Anna", ""}),
            "K0008 (operator) takes a catalogue number: a whole number of at most 10 digits");
  EXPECT_EQ(checkValueSource({"1", "12345678901"}),
            "K0012 (gauge) takes a catalogue number: a whole number of at most 10 digits");
  EXPECT_EQ(checkValueSource({"-1", ""}),
            "K0008 (operator) takes a catalogue number: a whole number of at most 10 digits");
}

TEST(DfqTime, SecondsCarryIntoDaysMonthsAndYears) {
  EXPECT_EQ(plusSeconds({2028, 2, 28, 23, 59, 59}, 1), (DateTime{2028, 2, 29, 0, 0, 0}));
  EXPECT_EQ(plusSeconds({2026, 2, 28, 23, 59, 59}, 1), (DateTime{2026, 3, 1, 0, 0, 0}));
  EXPECT_EQ(plusSeconds({2026, 12, 31, 23, 59, 50}, 15), (DateTime{2027, 1, 1, 0, 0, 5}));
  EXPECT_EQ(plusSeconds({2026, 3, 14, 15, 9, 26}, 0), (DateTime{2026, 3, 14, 15, 9, 26}));
  // The longest recording: 65535 samples 65535 s apart.
  EXPECT_EQ(plusSeconds({2026, 3, 14, 15, 9, 26}, std::int64_t{65535} * 65535),
            (DateTime{2162, 4, 19, 9, 13, 11}));
  EXPECT_EQ(dfqDateTime({2162, 4, 9, 9, 3, 1}), "09.04.2162/09:03:01");
  EXPECT_EQ(dfqDateTime({9999, 12, 31, 23, 59, 59}), "31.12.9999/23:59:59");
  EXPECT_THROW(dfqDateTime(plusSeconds({9999, 12, 31, 23, 59, 59}, 1)), std::out_of_range);
}

}  // namespace
}  // namespace qrix::qdas
