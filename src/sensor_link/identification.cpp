#include "sensor_link/identification.h"

#include <algorithm>
#include <string>

#include "program/frame_codec.h"
#include "program/panel_table.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

namespace {

struct CcdDescription {
  std::uint16_t ccdtype;
  const char* line0;
  const char* line1;
  const char* mode0;
  const char* mode1;
  std::uint16_t hwtype;
  const char* line2;
  const char* line3;
};

constexpr CcdDescription kKnownCcds[] = {
    {1, "1024-pixel; 7.8µm pixel-pitch", "4096-subpixel", "LOW GAIN", "HIGH GAIN", 0x2760,
     "resolution    = +/- 2µm", "working-range = 8mm"},
    {4, "512-pixel; 12.5µm pixel-pitch", "2048-subpixel", "ADC-CONV", "DIG-COMP", 0x2750,
     "resolution    = +/-3µm", "working-range = 6.4mm"},
};

constexpr const char* kNoInfo = "CCD-SENSOR: No Info Avialable!";
const std::string kBlankLine(32, ' ');

void writeCcdLines(Program& p, const char* l0, const std::string& l1, const std::string& l2,
                   const std::string& l3) {
  ui::UiModel& ui = p.ui();
  const int box = ids::calib::TEXTCCDInfo;
  ui.ReplaceTextBoxLine(p.st.pCalib, box, 0, l0);
  ui.ReplaceTextBoxLine(p.st.pCalib, box, 1, l1);
  ui.ReplaceTextBoxLine(p.st.pCalib, box, 2, l2);
  ui.ReplaceTextBoxLine(p.st.pCalib, box, 3, l3);
}

// Old firmware has no trigger threshold and no measurement buffer; newer firmware gets the
// controls back, also after an old sensor was identified on the same run.
void configureForFirmware(Program& p) {
  ui::UiModel& ui = p.ui();
  const ProgramState& st = p.st;
  const bool old = st.softversion <= 304;
  ui.SetDimmed(st.pPara1, ids::sensor::NUMTriggThreshold, old);
  ui.SetDimmed(st.pPara2, ids::sensor::NUMTriggThreshold, old);
  ui.SetVisible(st.pHandle, ids::main::BTNData, !old);
  ui.ReplaceListItem(
      st.pPara0, ids::para0::DROPtrigmode, 3,
      old ? "NOT-USED" : defaultListLabel(ids::kPara0Panel, ids::para0::DROPtrigmode, 3), 3);
}

}  // namespace

int xArray8Factor(std::uint16_t ccdvirtpixel) {
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

int CheckComLine(Program& p) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kLineCheck;
  st.parameter.arg = 0;
  CopyVarsToPP(st.parameter, 0, st.pp);
  const Reply reply = exchangeFrame(p, link::ExchangeKind::LineCheck, Discard::OutputFirst,
                                    st.parameter.cmd, st.parameter.arg, st.pp, Accept::AnyFrame);
  int result = 0;
  if (!reply.answered()) {
    p.storeStatusText("Timeout-RS-232...");
  } else if (reply.frame.inSync) {
    p.storeStatusText("Echo Check - Line Ok!");
    result = 1;
  } else {
    p.storeStatusText("read error - not sync byte 0xAA!");
  }
  p.showStoredStatus();
  return result;
}

int GetHARDWAREInfo(Program& p) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  st.parameter.cmd = cmd::kHardwareInfo;
  st.parameter.arg = 0;
  const Reply reply = exchangeFrame(p, link::ExchangeKind::HardwareInfo, Discard::OutputFirst,
                                    st.parameter.cmd, st.parameter.arg, st.pp, Accept::AnyFrame);
  if (!reply.answered()) {
    p.storeStatusText("Timeout-RS-232...");
    return 0;
  }
  // Only an answer to this request may set the scales every later limit depends on.
  if (!reply.frame.inSync || reply.frame.echo() != cmd::kHardwareInfo) return 0;

  const std::uint8_t* b = reply.frame.bytes.data();
  st.ccdtype = wordAt(b, 4);
  st.ccdmaxpixel = wordAt(b, 6);
  st.ccdresolution = wordAt(b, 8);
  st.pcbtype = wordAt(b, 10);
  st.ccdvirtpixel = wordAt(b, 12);
  st.ccdvirtpixelReported = st.ccdvirtpixel;
  st.ccdsubpixel = wordAt(b, 14);
  st.ccdpixB = wordAt(b, 16);
  st.ccdpixE = wordAt(b, 18);
  st.softversion = wordAt(b, 20);
  st.hwtype = wordAt(b, 22);
  st.adcmax = wordAt(b, 24);

  for (int graph : {ids::main::GRAPHVideoMaster, ids::main::GRAPHVideoSlave})
    ui.SetAxisRange(st.pHandle, graph, ui::Axis::X, 1.0, st.ccdvirtpixel);

  int factor = xArray8Factor(st.ccdvirtpixel);
  if (factor == 0) {
    factor = 16;
    st.ccdvirtpixel = 2048;
  }
  for (int i = 0; i < MAXPOINT; ++i) st.xArray8[static_cast<size_t>(i)] = double(i) * factor;

  const auto known = std::find_if(std::begin(kKnownCcds), std::end(kKnownCcds),
                                  [&](const CcdDescription& d) { return d.ccdtype == st.ccdtype; });
  if (known != std::end(kKnownCcds)) {
    ui.ReplaceTextBoxLine(st.pCalib, ids::calib::TEXTCCDInfo, 0, known->line0);
    ui.ReplaceTextBoxLine(st.pCalib, ids::calib::TEXTCCDInfo, 1, known->line1);
    for (int panel : {st.pPara1, st.pPara2}) {
      ui.ReplaceListItem(panel, ids::sensor::DROPopmode, 0, known->mode0, 0);
      ui.ReplaceListItem(panel, ids::sensor::DROPopmode, 1, known->mode1, 1);
    }
    if (st.hwtype == known->hwtype) {
      ui.ReplaceTextBoxLine(st.pCalib, ids::calib::TEXTCCDInfo, 2, known->line2);
      ui.ReplaceTextBoxLine(st.pCalib, ids::calib::TEXTCCDInfo, 3, known->line3);
    } else {
      writeCcdLines(p, kNoInfo, kBlankLine, kBlankLine, kBlankLine);
    }
    st.ADCMAX = st.adcmax == 1024 ? 1024 : 256;
    st.YAXISMAX = st.ccdvirtpixel;
  } else {
    writeCcdLines(p, kNoInfo, kBlankLine, kBlankLine, kBlankLine);
    st.ADCMAX = 256;
    st.YAXISMAX = 4096;
  }
  configureForFirmware(p);
  return 1;
}

int GetVERSIONInfo(Program& p) {
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
  const int n = reply.queued;
  if (n < kFirmwareBytes) p.storeStatusText("Timeout - reading firmware info!");

  st.szVersion.clear();
  st.nBytesR = static_cast<int>(reply.bytes.size());
  std::copy(reply.bytes.begin(), reply.bytes.end(), st.szReadBuf.begin());
  if (reply.answered()) {
    const std::uint8_t* b = reply.bytes.data();
    std::string text;
    if (st.pcbtype == 0) {
      // 36 words, one character in the low byte of each.
      for (int k = 0; k < kFirmwareBytes / 2 && b[2 * k + 1] != 0; ++k)
        text += static_cast<char>(b[2 * k + 1]);
      st.szVersion = text;
    } else {
      for (int k = 0; k < kFirmwareBytes - 1 && b[k] != 0; ++k) text += static_cast<char>(b[k]);
    }
    p.storeStatusText(text);
  }
  installReceiveNotification(p, st.com);
  discardQueues(p, Discard::InputFirst);
  st.rx_flag = 0;
  p.showStoredStatus();
  return n;
}

}  // namespace qrix
