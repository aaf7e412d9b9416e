#pragma once
// GET and SEND of the three parameter frames to the sensor's RAM or EEPROM or a parameter file,
// and the radio buttons that choose the memory target.

#include <cstdint>
#include <optional>

#include "params/param_file.h"
#include "program/memory_target.h"
#include "services/parameter_exchange.h"

namespace qrix {

struct Program;

// Reads one parameter frame from RAM (target 1) or EEPROM (2) into the record; with target 3
// it only refreshes the status line. After frame 2 the panels are rewritten from the record and
// the tolerance window is redrawn. True when the frame arrived (always true for target 3). With
// StoreAnswer::No the request and the wait are the same, but the record and the status text keep
// what they hold.
bool PushGET(Program& p, std::uint16_t target, std::uint16_t frame,
             StoreAnswer store = StoreAnswer::Yes);

// Reads frames 0, 1 and 2, each followed by a pause of 0.1 s (see readParameterRecord), then
// rewrites the panels from the record. With target 3 the record holds a file already: the
// series only refreshes the status line. True when every frame was stored.
bool readParameterFrames(Program& p, std::uint16_t target);

// The panels show the record, and the tolerance window its evaluation mode.
void showRecordInPanels(Program& p);

int CC_BTNSend(Program& p, int panel, int control, int event);
int CC_BTNGet(Program& p, int panel, int control, int event);
// The three memory-target radio buttons; they act on value changed.
int CC_RBTRam(Program& p, int panel, int control, int event);
int CC_RBTEeprom(Program& p, int panel, int control, int event);
int CC_RBTFile(Program& p, int panel, int control, int event);

}  // namespace qrix
