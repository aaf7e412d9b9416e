#pragma once
// Line check and identification of the connected sensor: hardware information (scales, CCD
// description, firmware-dependent controls) and the firmware text.

#include <cstdint>

namespace qrix {

struct Program;

// 1 when the sensor answered with the sync word 0x00AA, else 0.
int CheckComLine(Program& p);
// 1 when an answer with the sync word and echo 10 arrived; only such an answer changes the
// stored words.
int GetHARDWAREInfo(Program& p);
// The number of bytes waiting when the wait ended; exactly 72 is a firmware text.
int GetVERSIONInfo(Program& p);

// x step of the video curve points for a virtual pixel count; 0 when the count is not listed.
int xArray8Factor(std::uint16_t ccdvirtpixel);

}  // namespace qrix
