#pragma once

// Byte layouts of everything the master sensor sends back.

#include <cstdint>
#include <string_view>
#include <vector>

#include "qrix/sim/hardware_info.hpp"
#include "qrix/sim/scene.hpp"
#include "qrix/sim/wire.hpp"

namespace qrix::sim {

using Bytes = std::vector<std::uint8_t>;

// The 16 words of a RUN answer, in wire order.
struct RunValues {
  std::uint16_t masterEdge = 0;
  std::uint16_t slaveEdge = 0;
  std::uint16_t measured = 0;
  std::int32_t micrometres = 0;  // words 3 (low half) and 4 (high half)
  std::uint16_t potentiometer = 0;
  std::uint16_t masterEdgeCount = 0;
  std::uint16_t slaveEdgeCount = 0;
  std::uint16_t masterShadowWidth = 0;
  std::uint16_t slaveShadowWidth = 0;
  std::uint16_t heldMax = 0;
  std::uint16_t heldMin = 0;
  std::uint16_t masterTeach = 0;
  std::uint16_t slaveTeach = 0;
  std::uint16_t spare = 0;
  std::uint16_t inputState = 0;
};

// 0x00 0xAA, the command echo, a reply word, then 15 payload words.
Bytes frameAnswer(Command command, std::uint16_t reply, const Payload& payload);

// 0x00 0xAA, echo 8, then the 16 RUN words from byte 4.
Bytes runAnswer(const RunValues& values);

// Echo 10 and the eleven hardware words from byte 4; the rest is zero.
Bytes hardwareInfoAnswer(const HardwareInfo& hw);

// 72 raw bytes. Boards of type 0 send 36 words with one character in each low
// byte (at most 36 characters); the others send the characters themselves,
// at most 71 so that a terminating zero always follows.
Bytes firmwareTextAnswer(std::string_view text, std::uint16_t pcbType);

// 128 raw bytes: buffer words start .. start+63; words past the end of the
// buffer read as zero.
Bytes blockAnswer(const SensorBuffer& buffer, std::uint16_t start);

}  // namespace qrix::sim
