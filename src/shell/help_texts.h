#pragma once
// Context help: a right-click on a control shows a fixed text in one of the main panel's two
// help boxes, placed beside the control; a further right-click or a click on the box hides it.

#include <span>

#include "program/program_state.h"

namespace qrix {

struct Program;

// Where the box goes, from the control's rectangle on its own panel:
// left = L + widths * W + dx, top = T + heights * H + dy. A control of a child panel has the
// panel's place inside the main panel added, since the boxes belong to the main panel.
struct HelpPlace {
  int widths;
  int dx;
  int heights;
  int dy;
};

struct HelpRow {
  const char* control;  // the control's name; its callback is CC_ + name
  int ProgramState::*panel;
  int id;
  int box;  // ids::main::HelpText1 or HelpText2
  HelpPlace place;
  const char* text;
};

// Every control that has help, one row each.
std::span<const HelpRow> helpTable();

// Places the row's box beside its control, toggles the box's visibility and sets its text.
void showHelp(Program& p, const HelpRow& row);

// Hides both boxes, as a click on each does.
int hideHelp(Program& p);

// Callbacks of the two boxes: a left-click or right-click hides the box.
int CC_HelpText1(Program& p, int panel, int control, int event);
int CC_HelpText2(Program& p, int panel, int control, int event);

// Binds the boxes' callbacks, and puts the help in front of the callback of every control of
// the table: its right-click shows the help and goes no further, its other events pass on.
// Runs after every other callback is bound.
void bindHelp(Program& p);

}  // namespace qrix
