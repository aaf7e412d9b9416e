#include "qrix/sim/sensor_pair.hpp"

#include <algorithm>
#include <cstdio>

namespace qrix::sim {

namespace {

constexpr std::uint16_t kFirstFlashPage = 2;
constexpr std::uint16_t kLastFlashPage = 9;
constexpr std::uint16_t kFlashPageWords = 256;
constexpr std::size_t kFlashBlockWords = 8;

enum class BufferNumber : std::uint16_t {
  kMasterVideo = 0,
  kSlaveVideo = 1,
  kMasterHistory = 2,
  kSlaveHistory = 3
};

}  // namespace

SensorPair::SensorPair(HardwareInfo hw, Faults faults, double reactionTime)
    : hw_(hw),
      reactionTime_(reactionTime),
      injector_(faults),
      scene_(hw.ccdVirtPixel, hw.adcMax),
      eeprom_(defaultEepromFrames()),
      ram_(eeprom_) {
  flash_.fill(kErasedFlashWord);
}

std::vector<Transmission> SensorPair::receive(std::span<const std::uint8_t> bytes, double now) {
  std::vector<Transmission> out;
  for (const Request& request : framer_.push(bytes, now)) {
    requests_.push_back({now, request.command, request.argument, request.payload});
    if (injector_.hungUp()) {
      continue;
    }
    injector_.noteRequest();
    if (auto answer = execute(request, now)) {
      auto sent =
          injector_.shape(static_cast<Command>(request.command), std::move(*answer), reactionTime_);
      if (sent) {
        out.push_back(std::move(*sent));
      }
    }
  }
  return out;
}

void SensorPair::powerCycle() {
  ram_ = eeprom_;
  framer_.reset();
  held_.restart();
  injector_ = FaultInjector(injector_.faults());
}

void SensorPair::setHardware(const HardwareInfo& hw) {
  hw_ = hw;
  scene_ = Scene(hw.ccdVirtPixel, hw.adcMax);
}

std::string SensorPair::firmwareText() const {
  if (firmwareText_) {
    return *firmwareText_;
  }
  char text[40];
  std::snprintf(text, sizeof text, "Q-RIX TB-MS firmware V%u.%02u (sim)", hw_.softVersion / 100u,
                hw_.softVersion % 100u);
  return text;
}

std::optional<Bytes> SensorPair::execute(const Request& request, double now) {
  const std::int64_t scan = Scene::scanAt(now);
  // The sensor measures all the time; the held values must have seen every
  // scan under the settings that were in force then.
  holdUpTo(scan);

  const auto command = static_cast<Command>(request.command);
  const std::uint16_t arg = request.argument;
  switch (command) {
    case Command::kWriteRam:
    case Command::kWriteEeprom: {
      ParameterFrames& memory = command == Command::kWriteRam ? ram_ : eeprom_;
      if (arg < memory.size() && !injector_.faults().ignoreWrites) {
        memory[arg] = request.payload;
      }
      return std::nullopt;
    }
    case Command::kReadRam: return readFrame(command, ram_, arg);
    case Command::kReadEeprom: return readFrame(command, eeprom_, arg);
    case Command::kLineCheck: return frameAnswer(command, 0, ram_[kSystemFrame]);
    case Command::kTeach: return teach(scan);
    case Command::kFirmwareText: return firmwareTextAnswer(firmwareText(), hw_.pcbType);
    case Command::kRun: return run(request.payload, scan);
    case Command::kReadBlock: return readBlock(arg, request.payload[0], scan);
    case Command::kHardwareInfo: return hardwareInfoAnswer(hw_);
    case Command::kResetMaxMin:
      held_.restartAt(scan);
      holdUpTo(scan);
      return frameAnswer(command, 0, ram_[kSystemFrame]);
    case Command::kClearFlash:
      flash_.fill(kErasedFlashWord);
      return frameAnswer(command, 0, Payload{});
    case Command::kWriteFlash: return writeFlash(arg, request.payload);
  }
  return std::nullopt;  // the framer lets only known commands through
}

// The reply word of a frame read names the frame; frame numbers the sensor
// does not have get no answer.
std::optional<Bytes> SensorPair::readFrame(Command command, const ParameterFrames& memory,
                                           std::uint16_t frame) const {
  if (frame >= memory.size()) {
    return std::nullopt;
  }
  return frameAnswer(command, frame, memory[frame]);
}

// The RUN request carries the PC's system settings so that changes made
// during RUN act at once. A single RUN request may carry leftover words of an
// earlier answer instead; only a plausible settings frame is taken.
Bytes SensorPair::run(const Payload& settings, std::int64_t scan) {
  if (isPlausibleSystemFrame(settings)) {
    ram_[kSystemFrame] = settings;
  }
  const EdgeReading master = scene_.reading(Sensor::kMaster, scan);
  const EdgeReading slave = scene_.reading(Sensor::kSlave, scan);

  RunValues v;
  v.masterEdge = master.edge;
  v.slaveEdge = slave.edge;
  v.measured = measuredAt(scan);
  v.micrometres = micrometres(v.measured, scaleOf(ram_[kMasterFrame]));
  v.potentiometer = potentiometer_;
  v.masterEdgeCount = master.edgeCount;
  v.slaveEdgeCount = slave.edgeCount;
  v.masterShadowWidth = master.shadowWidth;
  v.slaveShadowWidth = slave.shadowWidth;
  v.heldMax = held_.max();
  v.heldMin = held_.min();
  v.masterTeach = ram_[kMasterFrame][kTeachWord];
  v.slaveTeach = ram_[kSlaveFrame][kTeachWord];
  v.inputState = inputState_;
  return runAnswer(v);
}

Bytes SensorPair::teach(std::int64_t scan) {
  ram_[kMasterFrame][kTeachWord] = scene_.reading(Sensor::kMaster, scan).edge;
  ram_[kSlaveFrame][kTeachWord] = scene_.reading(Sensor::kSlave, scan).edge;
  return frameAnswer(Command::kTeach, 0, ram_[kSystemFrame]);
}

// Unknown buffer numbers read as zeros, and a start past 64 reads zeros for
// the words beyond the buffer, so the PC always gets its 128 bytes.
Bytes SensorPair::readBlock(std::uint16_t start, std::uint16_t bufferNumber,
                            std::int64_t scan) const {
  auto light = [this](std::size_t frame) {
    return Scene::lightLevel(ram_[frame][kPowerWord], ram_[frame][kPowerModeWord]);
  };
  SensorBuffer buffer{};
  switch (static_cast<BufferNumber>(bufferNumber)) {
    case BufferNumber::kMasterVideo:
      buffer = scene_.video(Sensor::kMaster, scan, light(kMasterFrame));
      break;
    case BufferNumber::kSlaveVideo:
      buffer = scene_.video(Sensor::kSlave, scan, light(kSlaveFrame));
      break;
    case BufferNumber::kMasterHistory: buffer = scene_.history(Sensor::kMaster, scan); break;
    case BufferNumber::kSlaveHistory: buffer = scene_.history(Sensor::kSlave, scan); break;
  }
  return blockAnswer(buffer, start);
}

// Flash cells can only be programmed from erased towards zero bits, so
// writing without clearing first ANDs the new words into the old ones. A block
// outside pages 2..9 or past the end of its page is not written, but still
// acknowledged with the offset and page it named.
Bytes SensorPair::writeFlash(std::uint16_t offset, const Payload& payload) {
  const std::uint16_t page = payload[0];
  if (page >= kFirstFlashPage && page <= kLastFlashPage &&
      offset + kFlashBlockWords <= kFlashPageWords) {
    const std::size_t index =
        static_cast<std::size_t>(page - kFirstFlashPage) * kFlashPageWords + offset;
    for (std::size_t k = 0; k < kFlashBlockWords; ++k) {
      flash_[index + k] &= payload[1 + k];
    }
  }
  Payload echo{};
  echo[0] = offset;
  echo[1] = page;
  return frameAnswer(Command::kWriteFlash, 0, echo);
}

std::uint16_t SensorPair::measuredAt(std::int64_t scan) const {
  return measuredValue(ram_[kSystemFrame][kEvalModeWord],
                       scene_.reading(Sensor::kMaster, scan).edge,
                       scene_.reading(Sensor::kSlave, scan).edge, scene_.virtPixels());
}

void SensorPair::holdUpTo(std::int64_t scan) {
  held_.catchUp(scan, [this](std::int64_t s) { return measuredAt(s); });
}

}  // namespace qrix::sim
