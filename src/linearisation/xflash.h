#pragma once
// The window's X-FLASH buttons: the linearisation table into the sensor's external flash, with
// the progress as a bar on one of the main panel's bar graphs.

#include <cstdint>

#include "linearisation/lin_file.h"
#include "services/flash_table.h"

namespace qrix {

struct Program;

// The sensor selector only chooses the progress graph and the button; the frames are the same.
inline constexpr std::uint16_t kXFlashSlave = 0;   // GRAPHBarSlave, BTNWriteXFSL
inline constexpr std::uint16_t kXFlashMaster = 1;  // GRAPHBarMaster, BTNWriteXFMA

// The recorder interval that shows the two write buttons.
inline constexpr std::uint16_t kXFlashAccessCode = 6047;

// Sends the clear frame and waits: 1 when it was answered in time, else 0.
int ClearXFLASH(Program& p);
// Sends the 8 words of `table` at page `page` (2..9), offset `offset` (0..248) and waits. True
// when the answer echoes that offset and page; only then does the progress bar advance. A block
// outside the table is not sent (false).
bool WriteXFLASH(Program& p, std::uint16_t offset, std::uint16_t page, const LinTable& table,
                 std::uint16_t sensor);
// Clears the flash and writes linArray into it; complete when every frame was answered as sent,
// the status line then says so and the bar turns grey. A lost line ends it at once, a silent
// sensor after three time-outs in a row, and the program quitting after the frame in flight.
FlashTransfer transferTable(Program& p, std::uint16_t sensor);

int CC_BTNWriteXFSL(Program& p, int panel, int control, int event);
int CC_BTNWriteXFMA(Program& p, int panel, int control, int event);

// Shows both write buttons when the recorder's interval field holds the access code.
void revealXFlashButtons(Program& p);

}  // namespace qrix
