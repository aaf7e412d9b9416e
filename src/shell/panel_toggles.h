#pragma once
// The four toggles that bring up one parameter panel at a time, like the tabs of a notebook.

namespace qrix {

struct Program;

enum class ParaPanel { Para0, Para1, Para2, Calib };

// Left-click turns the other three toggles off; commit hides the other three panels and shows
// this one, whatever the toggle's own new value.
int paraToggle(Program& p, ParaPanel which, int event);

}  // namespace qrix
