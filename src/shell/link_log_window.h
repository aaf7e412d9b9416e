#pragma once
// The link log window: the line events the link health keeps, newest last, in a fixed-pitch
// box, with a copy to the clipboard and a save to a text file. It opens from the link indicator
// and closes with its close box.

namespace qrix {

struct Program;

// Shows the window in front.
void openLinkLog(Program& p);
// Puts the log into the window's box while the window is open and the box shows another log.
void refreshLinkLog(Program& p);

// Close box: hides the window.
int CC_LINKLOG(Program& p, int panel, int event);
// Puts the log text on the clipboard.
int CC_BTNCopyLog(Program& p, int panel, int control, int event);
// Asks for a file (LINKLOG.TXT) and writes the log text into it; refused while a loop holds
// the line, since the dialog would stop the loop's exchanges long enough to time out.
int CC_BTNSaveLog(Program& p, int panel, int control, int event);

}  // namespace qrix
