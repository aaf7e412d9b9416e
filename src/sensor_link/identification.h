#pragma once
// The window's side of the identification: the line check, the hardware information and the
// firmware text as the window's procedures, and what the window shows of the hardware (the CCD
// description, the mode labels, the video axes, the controls old firmware lacks).

#include "program/hardware_answer.h"

namespace qrix {

struct Program;

// 1 when the sensor answered with the sync word 0x00AA, else 0.
int CheckComLine(Program& p);
// 1 when an answer with the sync word and echo 10 arrived; only such an answer changes the
// stored words and the window.
int GetHARDWAREInfo(Program& p);
// The number of bytes waiting when the wait ended; exactly 72 is a firmware text.
int GetVERSIONInfo(Program& p);
// The window after a hardware answer.
void showHardwareInWindow(Program& p, const HardwareWords& hardware);

}  // namespace qrix
