// The broker's user name and password: from the environment or from a private file of two
// lines, and refused with a reason from a file that others can read or that says more.

#include "mqtt/mqtt_credentials.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qrix::mqtt {
namespace {

class CredentialsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("QRIX_MQTT_USER");
    unsetenv("QRIX_MQTT_PASSWORD");
  }
  void TearDown() override {
    std::filesystem::remove(path_);
    unsetenv("QRIX_MQTT_USER");
    unsetenv("QRIX_MQTT_PASSWORD");
  }
  std::string write(const std::string& content, mode_t mode = 0600) {
    std::ofstream(path_, std::ios::binary) << content;
    ::chmod(path_.c_str(), mode);
    return path_;
  }
  std::string path_ = (std::filesystem::temp_directory_path() /
                       ("qrix-mqtt-credentials-" + std::to_string(::getpid())))
                          .string();
};

TEST_F(CredentialsFile, ReadsUserAndPasswordLines) {
  struct Case {
    const char* content;
    const char* user;
    const char* password;
  };
  const Case cases[] = {
      {"line-7\ns3cr et!\n", "line-7", "s3cr et!"},
      {"line-7\r\ns3cret\r\n", "line-7", "s3cret"},
      {"line-7\ns3cret", "line-7", "s3cret"},
      {"line-7\n", "line-7", ""},
      {"line-7", "line-7", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    MqttCredentials credentials;
    std::string reason;
    ASSERT_TRUE(credentialsFromFile(write(c.content), credentials, reason)) << reason;
    EXPECT_EQ(credentials.user, c.user);
    EXPECT_EQ(credentials.password, c.password);
  }
}

TEST_F(CredentialsFile, RefusesAFileOthersMayReadOrThatSaysMore) {
  struct Case {
    const char* content;
    mode_t mode;
    const char* reasonHolds;
  };
  const Case cases[] = {
      {"u\np\n", 0640, "chmod 600"},
      {"u\np\n", 0604, "chmod 600"},
      {"u\np\n", 0620, "chmod 600"},
      {"\np\n", 0600, "first line must hold the user name"},
      {"", 0600, "first line must hold the user name"},
      {"u\np\nextra\n", 0600, "more than two lines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    SCOPED_TRACE(c.mode);
    MqttCredentials credentials{"kept", "kept"};
    std::string reason;
    EXPECT_FALSE(credentialsFromFile(write(c.content, c.mode), credentials, reason));
    EXPECT_NE(reason.find(c.reasonHolds), std::string::npos) << reason;
    EXPECT_EQ(credentials.user, "kept");
  }
  MqttCredentials credentials;
  std::string reason;
  EXPECT_FALSE(credentialsFromFile(path_ + "-missing", credentials, reason));
  EXPECT_NE(reason.find("No such file"), std::string::npos) << reason;
  EXPECT_FALSE(credentialsFromFile("/tmp", credentials, reason));
  EXPECT_NE(reason.find("not a regular file"), std::string::npos) << reason;
}

TEST_F(CredentialsFile, EnvironmentGivesThemWhenNoFileIsNamed) {
  std::optional<MqttCredentials> credentials = MqttCredentials{"stale", "stale"};
  std::string reason;
  ASSERT_TRUE(loadCredentials("", credentials, reason)) << reason;
  EXPECT_FALSE(credentials.has_value());

  setenv("QRIX_MQTT_USER", "env-user", 1);
  ASSERT_TRUE(loadCredentials("", credentials, reason)) << reason;
  ASSERT_TRUE(credentials.has_value());
  EXPECT_EQ(credentials->user, "env-user");
  EXPECT_EQ(credentials->password, "");

  setenv("QRIX_MQTT_PASSWORD", "env-pass", 1);
  ASSERT_TRUE(loadCredentials("", credentials, reason)) << reason;
  EXPECT_EQ(credentials->user, "env-user");
  EXPECT_EQ(credentials->password, "env-pass");

  // A file named wins over the environment.
  ASSERT_TRUE(loadCredentials(write("file-user\nfile-pass\n"), credentials, reason)) << reason;
  EXPECT_EQ(credentials->user, "file-user");
  EXPECT_EQ(credentials->password, "file-pass");

  unsetenv("QRIX_MQTT_USER");
  EXPECT_FALSE(loadCredentials("", credentials, reason));
  EXPECT_NE(reason.find("QRIX_MQTT_USER is not"), std::string::npos) << reason;
}

}  // namespace
}  // namespace qrix::mqtt
