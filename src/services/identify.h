#pragma once
// The sensor's identification over the open line: the line check, the hardware information
// (the scales every later limit depends on), the parameter frames from RAM and the firmware
// text, each step 0.1 s after the one before. The status line's texts are the program's, as
// the window shows them; what the window draws from the answers is the window's to do.

#include <array>
#include <optional>
#include <string>

#include "program/hardware_answer.h"

namespace qrix {

struct Program;

// True when the sensor answered with the sync word 0x00AA.
bool checkLine(Program& p);

// The hardware information, when an answer with the sync word and echo 10 arrived; only such an
// answer changes the stored words and the scales (virtual pixels, video x steps, ADC and raw
// chart full scale).
std::optional<HardwareWords> readHardwareInfo(Program& p);

// x step of the video curve points for a virtual pixel count; 0 when the count is not listed.
int xArray8Factor(std::uint16_t ccdvirtpixel);

// What the program knows of a CCD: four lines of description and, for a known type, the labels
// of its two operating modes.
struct CcdDescription {
  std::array<std::string, 4> lines;
  const char* mode0 = nullptr;
  const char* mode1 = nullptr;
};
CcdDescription describeCcd(const HardwareWords& hardware);

// The firmware text: the bytes that were queued when the wait ended (exactly 72 are a firmware
// text) and the text, when the answer came.
struct FirmwareText {
  int queued = 0;
  std::optional<std::string> text;
};
FirmwareText readFirmwareText(Program& p);

// The identification's outcome; the status texts end in szStatus.
struct Identification {
  bool lineChecked = false;
  std::optional<HardwareWords> hardware;
  bool parametersRead = false;  // all three frames answered and taken into the record
  std::optional<std::string> firmware;
};
// The sequence on a line just opened (see openLine).
Identification identifySensor(Program& p);

}  // namespace qrix
