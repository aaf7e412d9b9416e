#pragma once
// The link indicator at the end of the status line: its colour tells how the line is doing, its
// tooltip gives the counters, and a press opens the link log window.

namespace qrix {

struct Program;

// Brings the indicator, and the log window while it is open, in step with p.st.health. Runs
// after every exchange, so it writes only what differs from what is shown.
void showLinkHealth(Program& p);

// Commit (click, Space, Enter, a screen reader's press): opens the link log window.
int CC_LEDLink(Program& p, int panel, int control, int event);

}  // namespace qrix
