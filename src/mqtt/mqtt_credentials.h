#pragma once
// The user name and password for the broker. They come from the environment or from a file,
// never from the command line, where every user of the machine could read them (ps, /proc).

#include <optional>
#include <string>

namespace qrix::mqtt {

struct MqttCredentials {
  std::string user;
  std::string password;
};

// QRIX_MQTT_USER and QRIX_MQTT_PASSWORD. Nothing (and true) when neither is set: the broker is
// asked without a name. A password without a user name is refused: MQTT cannot send it.
bool credentialsFromEnvironment(std::optional<MqttCredentials>& credentials, std::string& reason);

// A file of two lines: the user name, then the password (a missing second line is an empty
// password; CR LF line ends are taken). Refused, with the reason, when it cannot be read, is not
// a regular file, holds more than two lines or an empty user name, or when its group or others
// have any access to it: a password others can read is no secret any more, so the owner is told
// to fix that (chmod 600) before it is used, as ssh does for its keys.
bool credentialsFromFile(const std::string& path, MqttCredentials& credentials,
                         std::string& reason);

// The file when a path is given, else the environment.
bool loadCredentials(const std::string& filePath, std::optional<MqttCredentials>& credentials,
                     std::string& reason);

}  // namespace qrix::mqtt
