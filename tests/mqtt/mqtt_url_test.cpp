// The broker's address: the two schemes with their ports, and a reason for every address that
// could not name one broker and one topic.

#include "mqtt/mqtt_url.h"

#include <gtest/gtest.h>

namespace qrix::mqtt {
namespace {

TEST(MqttUrl, TakesHostPortAndTopicOfBothSchemes) {
  struct Case {
    const char* text;
    bool tls;
    const char* host;
    std::uint16_t port;
    const char* topic;
  };
  const Case cases[] = {
      {"mqtt://broker.lan/line1", false, "broker.lan", 1883, "line1"},
      {"mqtts://broker.lan/line1", true, "broker.lan", 8883, "line1"},
      {"mqtt://10.0.0.7:1999/plant/hall 2/line1", false, "10.0.0.7", 1999, "plant/hall 2/line1"},
      {"mqtts://[fd00::5]:8884/a/b", true, "fd00::5", 8884, "a/b"},
      {"mqtt://[::1]/x", false, "::1", 1883, "x"},
      {"mqtt://h:65535/t", false, "h", 65535, "t"},
      {"mqtt://h:1/t", false, "h", 1, "t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    MqttUrl url;
    std::string reason;
    ASSERT_TRUE(parseMqttUrl(c.text, url, reason)) << reason;
    EXPECT_EQ(url.tls, c.tls);
    EXPECT_EQ(url.host, c.host);
    EXPECT_EQ(url.port, c.port);
    EXPECT_EQ(url.topic, c.topic);
  }
}

TEST(MqttUrl, RefusesWhatNamesNoSingleTopicWithTheReason) {
  struct Case {
    const char* text;
    const char* reasonHolds;
  };
  const Case cases[] = {
      {"http://h/t", "mqtt:// or mqtts://"},
      {"MQTT://h/t", "mqtt:// or mqtts://"},
      {"h:1883/t", "mqtt:// or mqtts://"},
      {"mqtt://h", "topic is missing"},
      {"mqtt://h/", "topic is missing"},
      {"mqtt://h:1883", "topic is missing"},
      {"mqtt:///t", "host name is missing"},
      {"mqtt://:1883/t", "host name is missing"},
      {"mqtt://[]:1883/t", "host name is missing"},
      {"mqtt://h:/t", "port after ':' is missing"},
      {"mqtt://h:0/t", "'0' is not a number from 1 to 65535"},
      {"mqtt://h:65536/t", "'65536' is not a number"},
      {"mqtt://h:18a3/t", "'18a3' is not a number"},
      {"mqtt://h:-1/t", "'-1' is not a number"},
      {"mqtt://h:001883/t", "'001883' is not a number"},
      {"mqtt://[::1/t", "lacks its ']'"},
      {"mqtt://[::1]x/t", "after the IPv6 address"},
      {"mqtt://h/line/#", "wildcard"},
      {"mqtt://h/line/+/v", "wildcard"},
      {"mqtt://h/a+b", "wildcard"},
      {"mqtt://user:secret@h/t", "must not hold a user name or password"},
      {"mqtt://br oker/t", "space or control character"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    MqttUrl url;
    url.host = "untouched";
    std::string reason;
    EXPECT_FALSE(parseMqttUrl(c.text, url, reason));
    EXPECT_NE(reason.find(c.reasonHolds), std::string::npos) << reason;
    EXPECT_EQ(url.host, "untouched");
  }
}

TEST(MqttUrl, DescribesTheAddressWithItsPort) {
  MqttUrl url;
  std::string reason;
  ASSERT_TRUE(parseMqttUrl("mqtts://[fd00::5]/a/b", url, reason));
  EXPECT_EQ(describe(url), "mqtts://[fd00::5]:8883/a/b");
  ASSERT_TRUE(parseMqttUrl("mqtt://broker/t", url, reason));
  EXPECT_EQ(describe(url), "mqtt://broker:1883/t");
}

}  // namespace
}  // namespace qrix::mqtt
