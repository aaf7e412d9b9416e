#pragma once
// The export window: a graph of the main panel as PNG or SVG, the whole main window as PNG, or
// the data behind a graph as CSV, into a file the user names.

namespace qrix {

struct Program;

// "Export ...": opens the window in front.
int CC_BTNExport(Program& p, int panel, int control, int event);
// Close box: hides the window.
int CC_EXPORT(Program& p, int panel, int event);
// Asks for a file and writes the chosen graph in the chosen format into it; refused while a loop
// holds the line, since the dialog would stop the loop's exchanges long enough to time out.
int CC_BTNExportSave(Program& p, int panel, int control, int event);

}  // namespace qrix
