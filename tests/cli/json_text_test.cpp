// JSON strings of the program's texts: quotes and control characters escaped, and a Latin-1 byte
// (the µ of the recorder's and some panels' texts) turned into UTF-8, so the output always parses.

#include "cli/json_text.h"

#include <gtest/gtest.h>

namespace qrix::cli {
namespace {

TEST(JsonText, KeepsEveryCharacterAsUtf8AndEscapesWhatJsonForbids) {
  const struct {
    std::string text;
    const char* json;
  } cases[] = {
      {"Line Ok!", "\"Line Ok!\""},
      {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
      {"a\tb\r\n\x1b", "\"a\\tb\\r\\n\\u001b\""},
      {"7.8\xC2\xB5m", "\"7.8\xC2\xB5m\""},              // UTF-8 stays as it is
      {"SETPOINT [\xB5m]", "\"SETPOINT [\xC2\xB5m]\""},  // Latin-1 becomes UTF-8
      {"\xE9t\xE9", "\"\xC3\xA9t\xC3\xA9\""},
      {"cut \xC2", "\"cut \xC3\x82\""},  // a lead byte with nothing after it is Latin-1 too
      {"", "\"\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(jsonLine(nlohmann::ordered_json(utf8Text(c.text))), c.json) << c.text;
  }
}

// The output keeps the layout scripts already parse: keys in their order, a space after each
// colon and comma, all on one line.
TEST(JsonText, WritesObjectsAndArraysOnOneLineInTheirOrder) {
  nlohmann::ordered_json value = {{"memory", "RAM"}, {"count", 2}};
  value["fields"] = {{{"b", -1}}, {{"a", nullptr}}};
  value["empty"] = nlohmann::ordered_json::array();
  EXPECT_EQ(jsonLine(value),
            "{\"memory\": \"RAM\", \"count\": 2, \"fields\": [{\"b\": -1}, {\"a\": null}], "
            "\"empty\": []}");
}

// What the sensor sends reaches a terminal as text: no byte of it can move the cursor, ring the
// bell or end the line, and an escape cannot be mistaken for the sensor's own backslash.
TEST(PrintableText, EscapesControlBytesBackslashesAndBytesThatAreNoUtf8) {
  const struct {
    std::string text;
    const char* printed;
  } cases[] = {
      {"Q-RIX V3.05", "Q-RIX V3.05"},
      {"V3\x1b[2J\a\r\n", "V3\\x1b[2J\\x07\\x0d\\x0a"},
      {"a\\b", "a\\\\b"},
      {"7.8\xC2\xB5m \x7F", "7.8\xC2\xB5m \\x7f"},  // UTF-8 stays, DEL does not
      {"\xB5m", "\\xb5m"},                          // a Latin-1 byte is no UTF-8
  };
  for (const auto& c : cases) {
    EXPECT_EQ(printableText(c.text), c.printed) << c.text;
  }
}

}  // namespace
}  // namespace qrix::cli
