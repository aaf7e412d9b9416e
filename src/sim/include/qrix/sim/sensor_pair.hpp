#pragma once

// The master/slave sensor pair as the PC sees it through the master's serial
// line: bytes in, timed answers out. The caller supplies the time (seconds)
// and carries the answer bytes; nothing here sleeps or paces.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "qrix/sim/answers.hpp"
#include "qrix/sim/evaluation.hpp"
#include "qrix/sim/fault_injector.hpp"
#include "qrix/sim/faults.hpp"
#include "qrix/sim/hardware_info.hpp"
#include "qrix/sim/parameter_frames.hpp"
#include "qrix/sim/request_framer.hpp"
#include "qrix/sim/scene.hpp"
#include "qrix/sim/transmission.hpp"
#include "qrix/sim/wire.hpp"

namespace qrix::sim {

struct RequestRecord {
  double time = 0.0;
  std::uint16_t command = 0;
  std::uint16_t argument = 0;
  Payload payload{};
};

using Flash = std::array<std::uint16_t, kFlashWords>;

// How the pair answers (frame = 36 bytes, 0x00 0xAA, echo, reply word, 15
// payload words):
//   1 / 3   write frame `arg` (0..2) into RAM / EEPROM only; no answer
//   2 / 4   frame from RAM / EEPROM; reply word = frame number; none for arg > 2
//   5, 11   frame carrying RAM frame 0; 11 also restarts the held max/min
//   6       RAM teach values (frames 1, 2 word 3) := current edges; frame 0 answer
//   7       72 raw bytes of firmware text, layout by the board type
//   8       RUN frame, 16 words from byte 4; a plausible frame-0 payload
//           becomes RAM frame 0 first
//   9       128 raw bytes: words arg..arg+63 of buffer payload[0]; zeros
//           past the buffer or for an unknown buffer
//   10      hardware words from byte 4
//   101     flash erased to 0xFFFF; frame with zero payload
//   102     8 words ANDed into flash at (page-2)*256 + arg for pages 2..9 and
//           arg <= 248; payload words 0, 1 echo arg and page in every case
// Frames with any other command word are taken for line noise.
class SensorPair {
 public:
  static constexpr double kDefaultReactionTime = 0.002;
  static constexpr std::uint16_t kErasedFlashWord = 0xFFFF;

  explicit SensorPair(HardwareInfo hw = {}, Faults faults = {},
                      double reactionTime = kDefaultReactionTime);

  // Feeds bytes from the PC that arrived at `now`; returns the answers to
  // every request they complete, in order. Requests that are not answered
  // (writes of parameter frames, faults) give no transmission.
  std::vector<Transmission> receive(std::span<const std::uint8_t> bytes, double now);

  // RAM is reloaded from EEPROM, the held max/min restart, a half-received
  // request is dropped and the fault counters start again (which also ends a
  // hang-up). EEPROM and external flash keep their contents.
  void powerCycle();

  // True once the hang-up fault has struck: no answer will ever come again.
  bool hungUp() const { return injector_.hungUp(); }

  // Every complete request, answered or not, with the time it arrived.
  const std::vector<RequestRecord>& requests() const { return requests_; }
  std::size_t discardedBytes() const { return framer_.discardedBytes(); }

  // Frames 0..2; throws std::out_of_range for other numbers.
  const ParameterFrame& ram(std::size_t frame) const { return ram_.at(frame); }
  const ParameterFrame& eeprom(std::size_t frame) const { return eeprom_.at(frame); }
  // Programs the EEPROM as the factory would; RAM follows at the next power cycle.
  void setEeprom(std::size_t frame, const ParameterFrame& words) { eeprom_.at(frame) = words; }

  const Flash& flash() const { return flash_; }

  const HardwareInfo& hardware() const { return hw_; }
  void setHardware(const HardwareInfo& hw);

  const Faults& faults() const { return injector_.faults(); }
  // What the faults injected since they were last set.
  const FaultInjector& injected() const { return injector_; }
  // Replaces the faults; their counters (every k-th answer, hang-up) restart.
  void setFaults(const Faults& faults) { injector_ = FaultInjector(faults); }

  // Unless set, the text names the firmware version of the hardware info.
  std::string firmwareText() const;
  void setFirmwareText(std::string text) { firmwareText_ = std::move(text); }

  void setPotentiometer(std::uint16_t value) { potentiometer_ = value; }
  void setInputState(std::uint16_t value) { inputState_ = value; }

  const Scene& scene() const { return scene_; }

 private:
  std::optional<Bytes> execute(const Request& request, double now);
  std::optional<Bytes> readFrame(Command command, const ParameterFrames& memory,
                                 std::uint16_t frame) const;
  Bytes run(const Payload& settings, std::int64_t scan);
  Bytes teach(std::int64_t scan);
  Bytes readBlock(std::uint16_t start, std::uint16_t bufferNumber, std::int64_t scan) const;
  Bytes writeFlash(std::uint16_t offset, const Payload& payload);
  std::uint16_t measuredAt(std::int64_t scan) const;
  void holdUpTo(std::int64_t scan);

  HardwareInfo hw_;
  double reactionTime_;
  FaultInjector injector_;
  RequestFramer framer_;
  Scene scene_;
  ParameterFrames eeprom_;
  ParameterFrames ram_;
  Flash flash_;
  HeldExtremes held_;
  std::optional<std::string> firmwareText_;
  std::uint16_t potentiometer_ = 50;
  std::uint16_t inputState_ = 0;
  std::vector<RequestRecord> requests_;
};

}  // namespace qrix::sim
