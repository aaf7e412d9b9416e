#pragma once
// Every program-wide variable of the scope, under the names the system uses. One object per
// program run, so a test builds a fresh program in one line.

#include <array>
#include <cstdint>
#include <string>

#include "program/line_owner.h"
#include "program/parameter.h"
#include "qrix/link/frame_reader.h"
#include "qrix/link/link_health.h"

namespace qrix {

inline constexpr int MAXPOINT = 128;
inline constexpr double TIMEOUT = 1.5;
inline constexpr int eventMask = 0x8006;
inline constexpr int kFrameBytes = 36;
inline constexpr double kByteSeconds = 10.0 / 19200;  // one byte on the line at 19200 baud 8N1
inline constexpr int kReadBufSize = 4096;
inline constexpr std::size_t kStatusChars = 72;  // the status line's text buffer

using Line128 = std::array<std::uint16_t, MAXPOINT>;
using X128 = std::array<double, MAXPOINT>;

struct ProgramState {
  // Panel handles; negative when a panel did not load.
  int pHandle = 0, pPara0 = 0, pPara1 = 0, pPara2 = 0, pCalib = 0, pPopUp = 0;
  int pLinkLog = 0;     // the link log window
  int pCompare = 0;     // the parameter compare window
  int pExport = 0;      // the export window
  int pStatistics = 0;  // the statistics window

  ParameterRecord parameter;
  WordArray pp{};

  // Link.
  int com = 1;
  int target = 1;  // memory target of GET/SEND: 1 RAM, 2 EEPROM, 3 file
  std::array<std::uint8_t, kFrameBytes> szWriteBuf{};
  std::array<std::uint8_t, kReadBufSize> szReadBuf{};
  int nBytesW = 0;
  int nBytesR = 0;
  int rx_flag = 0;
  int graph_flag = 0;
  int stop_flag = 1;
  LineUser lineUser = LineUser::None;  // the loop that holds the line
  bool lineChecked = false;            // the open port passed its line check
  link::LinkHealth health;             // what the line did: counters and the line events
  link::FrameReader reader;            // received bytes on their way to whole frames
  link::ExchangeKind exchangeKind = link::ExchangeKind::LineCheck;  // of the last request
  int callbackDepth = 0;         // callbacks running, one inside another's pump
  bool lineLostPending = false;  // the line went away inside a callback; told when it returns

  // Scales of the connected sensor.
  std::uint16_t ccdvirtpixel = 4096;
  std::uint16_t YAXISMAX = 2048;
  std::uint16_t ADCMAX = 256;

  // Hardware information, as the sensor reports it.
  std::uint16_t ccdtype = 0, ccdmaxpixel = 0, ccdresolution = 0, pcbtype = 0, ccdsubpixel = 0,
                ccdpixB = 0, ccdpixE = 0, softversion = 0, hwtype = 0, adcmax = 0;
  // The virtual pixel count as reported; ccdvirtpixel falls back to 2048 for a count the
  // program has no scale for.
  std::uint16_t ccdvirtpixelReported = 0;

  // Texts.
  std::string szStatus;
  std::string szSoftVersion;
  std::string szSoftName;
  std::string szVersion;  // firmware text
  std::string proj_dir;
  std::string rec_fname;
  std::string file_name;

  // Curve x positions and the threshold lines drawn across the curves.
  X128 xArray8{};
  X128 xArrayMVAL{};
  Line128 thdArrayA{}, thdArrayB{}, trgBUFA{}, trgBUFB{}, refTHDA{}, refTHDB{}, upTHDA{}, upTHDB{},
      loTHDA{}, loTHDB{};

  // Sensor buffers: video and measurement history of master (A) and slave (B).
  Line128 adcbufA{}, adcbufB{}, mvalBUFA{}, mvalBUFB{};

  // Linearisation table for the external flash: file value + 32767 per entry.
  std::array<std::uint16_t, 2048> linArray{};

  // Values of the last RUN answer and the display state derived from them.
  std::uint16_t Aval = 0, Bval = 0, Mvalue = 0, poti = 0, edcntA = 0, edcntB = 0, peakwA = 0,
                peakwB = 0, anaMax = 0, anaMin = 0, raw15 = 0, instate = 0;
  std::int32_t umValue = 0;
  std::uint16_t tVal = 0, tolup = 0, tollo = 0, curposA = 0, curposB = 0, MvalueHeld = 0;

  // Whether the graphs hold what the sensor sent, or still the zeros they start with.
  bool runAnswerTaken = false;   // the bars' values
  bool rawChartSampled = false;  // a sample in the raw strip chart
  // Samples the raw strip chart was given since the panel that holds it was made, on which
  // panel: once it holds the whole history, each answer hands over only its own sample.
  int rawChartPanel = 0;
  int rawChartSamples = 0;
  bool videoPassRead = false, dataPassRead = false;  // every block of a VIDEO, a DATA pass

  // History of the raw strip chart: 100 samples of 7 traces, newest last; kept across RUNs.
  std::array<double, 700> arrayNORM{};
};

}  // namespace qrix
