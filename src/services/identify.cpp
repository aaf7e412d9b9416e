#include "services/identify.h"

#include <algorithm>
#include <iterator>

#include "program/frame_codec.h"
#include "program/memory_target.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"
#include "services/parameter_exchange.h"

namespace qrix {

namespace {

struct KnownCcd {
  std::uint16_t ccdtype;
  const char* line0;
  const char* line1;
  const char* mode0;
  const char* mode1;
  std::uint16_t hwtype;
  const char* line2;
  const char* line3;
};

constexpr KnownCcd kKnownCcds[] = {
    {1, "1024-pixel; 7.8µm pixel-pitch", "4096-subpixel", "LOW GAIN", "HIGH GAIN", 0x2760,
     "resolution    = +/- 2µm", "working-range = 8mm"},
    {4, "512-pixel; 12.5µm pixel-pitch", "2048-subpixel", "ADC-CONV", "DIG-COMP", 0x2750,
     "resolution    = +/-3µm", "working-range = 6.4mm"},
};

const KnownCcd* knownCcd(std::uint16_t ccdtype) {
  const auto known = std::find_if(std::begin(kKnownCcds), std::end(kKnownCcds),
                                  [&](const KnownCcd& d) { return d.ccdtype == ccdtype; });
  return known == std::end(kKnownCcds) ? nullptr : known;
}

int xArray8Step(std::uint16_t ccdvirtpixel) {
  switch (ccdvirtpixel) {
    case 256:
    case 512:
    case 768:
    case 1024:
    case 1280:
    case 1536:
    case 2048:
    case 2560:
    case 4096:
    case 8192: return ccdvirtpixel / MAXPOINT;
    default: return 0;
  }
}

// The scales the hardware sets: an unlisted virtual pixel count falls back to 2048.
void takeHardware(ProgramState& st, const HardwareWords& w) {
  st.ccdtype = w.ccdtype;
  st.ccdmaxpixel = w.ccdmaxpixel;
  st.ccdresolution = w.ccdresolution;
  st.pcbtype = w.pcbtype;
  st.ccdvirtpixel = w.ccdvirtpixel;
  st.ccdvirtpixelReported = w.ccdvirtpixel;
  st.ccdsubpixel = w.ccdsubpixel;
  st.ccdpixB = w.ccdpixB;
  st.ccdpixE = w.ccdpixE;
  st.softversion = w.softversion;
  st.hwtype = w.hwtype;
  st.adcmax = w.adcmax;
  int factor = xArray8Step(st.ccdvirtpixel);
  if (factor == 0) {
    factor = 16;
    st.ccdvirtpixel = 2048;
  }
  for (int i = 0; i < MAXPOINT; ++i) {
    st.xArray8[static_cast<size_t>(i)] = double(i) * factor;
  }
  if (knownCcd(st.ccdtype)) {
    st.ADCMAX = st.adcmax == 1024 ? 1024 : 256;
    st.YAXISMAX = st.ccdvirtpixel;
  } else {
    st.ADCMAX = 256;
    st.YAXISMAX = 4096;
  }
}

}  // namespace

int xArray8Factor(std::uint16_t ccdvirtpixel) {
  return xArray8Step(ccdvirtpixel);
}

bool checkLine(Program& p) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kLineCheck;
  st.parameter.arg = 0;
  CopyVarsToPP(st.parameter, 0, st.pp);
  const Reply reply = exchangeFrame(p, link::ExchangeKind::LineCheck, Discard::OutputFirst,
                                    st.parameter.cmd, st.parameter.arg, st.pp, Accept::AnyFrame);
  bool inSync = false;
  if (!reply.answered()) {
    p.storeStatusText("Timeout-RS-232...");
  } else if (reply.frame.inSync) {
    p.storeStatusText("Echo Check - Line Ok!");
    inSync = true;
  } else {
    p.storeStatusText("read error - not sync byte 0xAA!");
  }
  p.showStoredStatus();
  return inSync;
}

std::optional<HardwareWords> readHardwareInfo(Program& p) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kHardwareInfo;
  st.parameter.arg = 0;
  const Reply reply = exchangeFrame(p, link::ExchangeKind::HardwareInfo, Discard::OutputFirst,
                                    st.parameter.cmd, st.parameter.arg, st.pp, Accept::AnyFrame);
  if (!reply.answered()) {
    p.storeStatusText("Timeout-RS-232...");
    return std::nullopt;
  }
  if (!reply.frame.inSync || reply.frame.echo() != cmd::kHardwareInfo) {
    return std::nullopt;
  }
  const HardwareWords words = decodeHardwareAnswer(reply.frame.bytes);
  takeHardware(st, words);
  return words;
}

CcdDescription describeCcd(const HardwareWords& hardware) {
  static const std::string kBlankLine(32, ' ');
  CcdDescription d;
  d.lines = {"CCD-SENSOR: No Info Avialable!", kBlankLine, kBlankLine, kBlankLine};
  const KnownCcd* known = knownCcd(hardware.ccdtype);
  if (!known) {
    return d;
  }
  d.mode0 = known->mode0;
  d.mode1 = known->mode1;
  // A board the type does not name gets no description, only the type's mode labels.
  if (hardware.hwtype == known->hwtype) {
    d.lines = {known->line0, known->line1, known->line2, known->line3};
  }
  return d;
}

FirmwareText readFirmwareText(Program& p) {
  ProgramState& st = p.st;
  removeReceiveNotification(p, st.com);
  st.parameter.cmd = cmd::kFirmwareText;
  st.parameter.arg = 0;
  st.exchangeKind = link::ExchangeKind::FirmwareText;
  sendRequest(p, Discard::InputFirst, st.parameter.cmd, st.parameter.arg, st.pp);
  p.showStatusText("Waiting for firmware info ...");

  // The text is read from the queue itself, so this wait must not pump (the notification is
  // off anyway); it sleeps a millisecond between looks instead of spinning.
  const RawReply reply =
      awaitRaw(p, link::ExchangeKind::FirmwareText, kFirmwareBytes, WaitMode::SleepOnly);
  FirmwareText result;
  result.queued = reply.queued;
  if (result.queued < kFirmwareBytes) {
    p.storeStatusText("Timeout - reading firmware info!");
  }

  st.szVersion.clear();
  st.nBytesR = static_cast<int>(reply.bytes.size());
  std::copy(reply.bytes.begin(), reply.bytes.end(), st.szReadBuf.begin());
  if (reply.answered()) {
    const std::uint8_t* b = reply.bytes.data();
    std::string text;
    if (st.pcbtype == 0) {
      // 36 words, one character in the low byte of each.
      for (int k = 0; k < kFirmwareBytes / 2 && b[2 * k + 1] != 0; ++k) {
        text += static_cast<char>(b[2 * k + 1]);
      }
      st.szVersion = text;
    } else {
      for (int k = 0; k < kFirmwareBytes - 1 && b[k] != 0; ++k) {
        text += static_cast<char>(b[k]);
      }
    }
    p.storeStatusText(text);
    result.text = text;
  }
  installReceiveNotification(p, st.com);
  discardQueues(p, Discard::InputFirst);
  st.rx_flag = 0;
  p.showStoredStatus();
  return result;
}

Identification identifySensor(Program& p) {
  ProgramState& st = p.st;
  Identification id;
  id.lineChecked = st.lineChecked = checkLine(p);
  if (!st.lineChecked) {
    p.logLine("line check failed: " + st.szStatus);
    return id;
  }
  p.rt.Delay(0.1);
  id.hardware = readHardwareInfo(p);
  if (!id.hardware) {
    p.storeStatusText("Error reading HARDWARE-info!");
  }
  p.rt.Delay(0.1);
  id.parametersRead = readParameterRecord(p, kTargetRam, PauseAfter::Yes);
  const FirmwareText firmware = readFirmwareText(p);
  // Anything but the 72 bytes of a firmware text is a failed read.
  if (firmware.queued != kFirmwareBytes) {
    p.storeStatusText("Error reading firmware-info!");
  }
  id.firmware = firmware.text;
  return id;
}

}  // namespace qrix
